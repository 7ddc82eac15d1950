'use strict';

// Every country and territory of the gazetteer: its name as listed and spoken, and its region.
// Names are the short English names people use ("Russia", "Czech Republic"), in plain ASCII.
// Antarctica (AQ) and the French Southern Territories (TF) have research stations only and are
// left out. The five inhabited US territories are listed under "United States" (ADMIN_REGIONS)
// because the National Weather Service forecasts for them.
const COUNTRIES = {
  // Africa
  AO: ['Angola', 'Africa'], BF: ['Burkina Faso', 'Africa'], BI: ['Burundi', 'Africa'],
  BJ: ['Benin', 'Africa'], BW: ['Botswana', 'Africa'],
  CD: ['Democratic Republic of the Congo', 'Africa'], CF: ['Central African Republic', 'Africa'],
  CG: ['Republic of the Congo', 'Africa'], CI: ["Cote d'Ivoire", 'Africa'],
  CM: ['Cameroon', 'Africa'], CV: ['Cape Verde', 'Africa'], DJ: ['Djibouti', 'Africa'],
  DZ: ['Algeria', 'Africa'], EG: ['Egypt', 'Africa'], EH: ['Western Sahara', 'Africa'],
  ER: ['Eritrea', 'Africa'], ET: ['Ethiopia', 'Africa'], GA: ['Gabon', 'Africa'],
  GH: ['Ghana', 'Africa'], GM: ['Gambia', 'Africa'], GN: ['Guinea', 'Africa'],
  GQ: ['Equatorial Guinea', 'Africa'], GW: ['Guinea-Bissau', 'Africa'], KE: ['Kenya', 'Africa'],
  KM: ['Comoros', 'Africa'], LR: ['Liberia', 'Africa'], LS: ['Lesotho', 'Africa'],
  LY: ['Libya', 'Africa'], MA: ['Morocco', 'Africa'], MG: ['Madagascar', 'Africa'],
  ML: ['Mali', 'Africa'], MR: ['Mauritania', 'Africa'], MU: ['Mauritius', 'Africa'],
  MW: ['Malawi', 'Africa'], MZ: ['Mozambique', 'Africa'], NA: ['Namibia', 'Africa'],
  NE: ['Niger', 'Africa'], NG: ['Nigeria', 'Africa'], RE: ['Reunion', 'Africa'],
  RW: ['Rwanda', 'Africa'], SC: ['Seychelles', 'Africa'], SD: ['Sudan', 'Africa'],
  SH: ['Saint Helena', 'Africa'], SL: ['Sierra Leone', 'Africa'], SN: ['Senegal', 'Africa'],
  SO: ['Somalia', 'Africa'], SS: ['South Sudan', 'Africa'],
  ST: ['Sao Tome and Principe', 'Africa'], SZ: ['Eswatini', 'Africa'], TD: ['Chad', 'Africa'],
  TG: ['Togo', 'Africa'], TN: ['Tunisia', 'Africa'], TZ: ['Tanzania', 'Africa'],
  UG: ['Uganda', 'Africa'], YT: ['Mayotte', 'Africa'], ZA: ['South Africa', 'Africa'],
  ZM: ['Zambia', 'Africa'], ZW: ['Zimbabwe', 'Africa'],
  // Asia
  AF: ['Afghanistan', 'Asia'], BD: ['Bangladesh', 'Asia'], BT: ['Bhutan', 'Asia'],
  CN: ['China', 'Asia'], HK: ['Hong Kong', 'Asia'], IN: ['India', 'Asia'], JP: ['Japan', 'Asia'],
  KG: ['Kyrgyzstan', 'Asia'], KP: ['North Korea', 'Asia'], KR: ['South Korea', 'Asia'],
  KZ: ['Kazakhstan', 'Asia'], LK: ['Sri Lanka', 'Asia'], MN: ['Mongolia', 'Asia'],
  MO: ['Macao', 'Asia'], MV: ['Maldives', 'Asia'], NP: ['Nepal', 'Asia'],
  PK: ['Pakistan', 'Asia'], TJ: ['Tajikistan', 'Asia'], TM: ['Turkmenistan', 'Asia'],
  TW: ['Taiwan', 'Asia'], UZ: ['Uzbekistan', 'Asia'],
  // Australia's external territories; the states and territories come from the admin-1 codes.
  CC: ['Cocos Islands', 'Australia'], CX: ['Christmas Island', 'Australia'],
  NF: ['Norfolk Island', 'Australia'],
  // Caribbean
  AG: ['Antigua and Barbuda', 'Caribbean'], AI: ['Anguilla', 'Caribbean'],
  AW: ['Aruba', 'Caribbean'], BB: ['Barbados', 'Caribbean'], BL: ['Saint Barthelemy', 'Caribbean'],
  BQ: ['Caribbean Netherlands', 'Caribbean'], BS: ['Bahamas', 'Caribbean'],
  CU: ['Cuba', 'Caribbean'], CW: ['Curacao', 'Caribbean'], DM: ['Dominica', 'Caribbean'],
  DO: ['Dominican Republic', 'Caribbean'], GD: ['Grenada', 'Caribbean'],
  GP: ['Guadeloupe', 'Caribbean'], HT: ['Haiti', 'Caribbean'], JM: ['Jamaica', 'Caribbean'],
  KN: ['Saint Kitts and Nevis', 'Caribbean'], KY: ['Cayman Islands', 'Caribbean'],
  LC: ['Saint Lucia', 'Caribbean'], MF: ['Saint Martin', 'Caribbean'],
  MQ: ['Martinique', 'Caribbean'], MS: ['Montserrat', 'Caribbean'],
  SX: ['Sint Maarten', 'Caribbean'], TC: ['Turks and Caicos Islands', 'Caribbean'],
  TT: ['Trinidad and Tobago', 'Caribbean'], VC: ['Saint Vincent and the Grenadines', 'Caribbean'],
  VG: ['British Virgin Islands', 'Caribbean'],
  // Central America
  BZ: ['Belize', 'Central America'], CR: ['Costa Rica', 'Central America'],
  GT: ['Guatemala', 'Central America'], HN: ['Honduras', 'Central America'],
  NI: ['Nicaragua', 'Central America'], PA: ['Panama', 'Central America'],
  SV: ['El Salvador', 'Central America'],
  // Europe
  AD: ['Andorra', 'Europe'], AL: ['Albania', 'Europe'], AM: ['Armenia', 'Europe'],
  AT: ['Austria', 'Europe'], AX: ['Aland Islands', 'Europe'], AZ: ['Azerbaijan', 'Europe'],
  BA: ['Bosnia and Herzegovina', 'Europe'], BE: ['Belgium', 'Europe'], BG: ['Bulgaria', 'Europe'],
  BY: ['Belarus', 'Europe'], CH: ['Switzerland', 'Europe'], CY: ['Cyprus', 'Europe'],
  CZ: ['Czech Republic', 'Europe'], DE: ['Germany', 'Europe'], DK: ['Denmark', 'Europe'],
  EE: ['Estonia', 'Europe'], ES: ['Spain', 'Europe'], FI: ['Finland', 'Europe'],
  FO: ['Faroe Islands', 'Europe'], FR: ['France', 'Europe'], GB: ['United Kingdom', 'Europe'],
  GE: ['Georgia', 'Europe'], GG: ['Guernsey', 'Europe'], GI: ['Gibraltar', 'Europe'],
  GR: ['Greece', 'Europe'], HR: ['Croatia', 'Europe'], HU: ['Hungary', 'Europe'],
  IE: ['Ireland', 'Europe'], IM: ['Isle of Man', 'Europe'], IS: ['Iceland', 'Europe'],
  IT: ['Italy', 'Europe'], JE: ['Jersey', 'Europe'], LI: ['Liechtenstein', 'Europe'],
  LT: ['Lithuania', 'Europe'], LU: ['Luxembourg', 'Europe'], LV: ['Latvia', 'Europe'],
  MC: ['Monaco', 'Europe'], MD: ['Moldova', 'Europe'], ME: ['Montenegro', 'Europe'],
  MK: ['North Macedonia', 'Europe'], MT: ['Malta', 'Europe'], NL: ['Netherlands', 'Europe'],
  NO: ['Norway', 'Europe'], PL: ['Poland', 'Europe'], PT: ['Portugal', 'Europe'],
  RO: ['Romania', 'Europe'], RS: ['Serbia', 'Europe'], RU: ['Russia', 'Europe'],
  SE: ['Sweden', 'Europe'], SI: ['Slovenia', 'Europe'], SJ: ['Svalbard and Jan Mayen', 'Europe'],
  SK: ['Slovakia', 'Europe'], SM: ['San Marino', 'Europe'], UA: ['Ukraine', 'Europe'],
  VA: ['Vatican City', 'Europe'], XK: ['Kosovo', 'Europe'],
  // Middle East
  AE: ['United Arab Emirates', 'Middle East'], BH: ['Bahrain', 'Middle East'],
  IL: ['Israel', 'Middle East'], IQ: ['Iraq', 'Middle East'], IR: ['Iran', 'Middle East'],
  JO: ['Jordan', 'Middle East'], KW: ['Kuwait', 'Middle East'], LB: ['Lebanon', 'Middle East'],
  OM: ['Oman', 'Middle East'], PS: ['Palestinian Territories', 'Middle East'],
  QA: ['Qatar', 'Middle East'], SA: ['Saudi Arabia', 'Middle East'], SY: ['Syria', 'Middle East'],
  TR: ['Turkey', 'Middle East'], YE: ['Yemen', 'Middle East'],
  // North America (Canada and the United States are regions of their own)
  BM: ['Bermuda', 'North America'], GL: ['Greenland', 'North America'],
  MX: ['Mexico', 'North America'], PM: ['Saint Pierre and Miquelon', 'North America'],
  // Pacific Islands
  CK: ['Cook Islands', 'Pacific Islands'], FJ: ['Fiji', 'Pacific Islands'],
  FM: ['Micronesia', 'Pacific Islands'], KI: ['Kiribati', 'Pacific Islands'],
  MH: ['Marshall Islands', 'Pacific Islands'], NC: ['New Caledonia', 'Pacific Islands'],
  NR: ['Nauru', 'Pacific Islands'], NU: ['Niue', 'Pacific Islands'],
  NZ: ['New Zealand', 'Pacific Islands'], PF: ['French Polynesia', 'Pacific Islands'],
  PG: ['Papua New Guinea', 'Pacific Islands'], PN: ['Pitcairn', 'Pacific Islands'],
  PW: ['Palau', 'Pacific Islands'], SB: ['Solomon Islands', 'Pacific Islands'],
  TK: ['Tokelau', 'Pacific Islands'], TO: ['Tonga', 'Pacific Islands'],
  TV: ['Tuvalu', 'Pacific Islands'], VU: ['Vanuatu', 'Pacific Islands'],
  WF: ['Wallis and Futuna', 'Pacific Islands'], WS: ['Samoa', 'Pacific Islands'],
  // South America
  AR: ['Argentina', 'South America'], BO: ['Bolivia', 'South America'],
  BR: ['Brazil', 'South America'], CL: ['Chile', 'South America'],
  CO: ['Colombia', 'South America'], EC: ['Ecuador', 'South America'],
  FK: ['Falkland Islands', 'South America'], GF: ['French Guiana', 'South America'],
  GS: ['South Georgia', 'South America'], GY: ['Guyana', 'South America'],
  PE: ['Peru', 'South America'], PY: ['Paraguay', 'South America'],
  SR: ['Suriname', 'South America'], UY: ['Uruguay', 'South America'],
  VE: ['Venezuela', 'South America'],
  // Southeast Asia
  BN: ['Brunei', 'Southeast Asia'], ID: ['Indonesia', 'Southeast Asia'],
  KH: ['Cambodia', 'Southeast Asia'], LA: ['Laos', 'Southeast Asia'],
  MM: ['Myanmar', 'Southeast Asia'], MY: ['Malaysia', 'Southeast Asia'],
  PH: ['Philippines', 'Southeast Asia'], SG: ['Singapore', 'Southeast Asia'],
  TH: ['Thailand', 'Southeast Asia'], TL: ['East Timor', 'Southeast Asia'],
  VN: ['Vietnam', 'Southeast Asia'],
};

// Countries whose sub-regions are their states, provinces and territories (admin-1 codes).
const ADMIN_REGIONS = {
  AU: 'Australia',
  CA: 'Canada',
  US: 'United States',
};

// US territories that the National Weather Service forecasts for: listed as sub-regions of
// "United States" beside the states, each with its capital.
const US_TERRITORIES = {
  AS: 'American Samoa',
  GU: 'Guam',
  MP: 'Northern Mariana Islands',
  PR: 'Puerto Rico',
  VI: 'U.S. Virgin Islands',
};

const SKIPPED = ['AQ', 'TF'];

module.exports = { COUNTRIES, ADMIN_REGIONS, US_TERRITORIES, SKIPPED };
