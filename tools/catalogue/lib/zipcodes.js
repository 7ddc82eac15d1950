'use strict';

const { toAscii } = require('./ascii');
const { formatDecimalText } = require('./coords');

// States, the District of Columbia and the territories the National Weather Service forecasts
// for. Military mail codes (AA, AE, AP) and the freely associated states (MH, FM, PW) are left
// out: the forecast service has no point forecasts there.
const NWS_AREAS = new Set([
  'AK', 'AL', 'AR', 'AZ', 'CA', 'CO', 'CT', 'DC', 'DE', 'FL', 'GA', 'HI', 'IA', 'ID', 'IL', 'IN',
  'KS', 'KY', 'LA', 'MA', 'MD', 'ME', 'MI', 'MN', 'MO', 'MS', 'MT', 'NC', 'ND', 'NE', 'NH', 'NJ',
  'NM', 'NV', 'NY', 'OH', 'OK', 'OR', 'PA', 'RI', 'SC', 'SD', 'TN', 'TX', 'UT', 'VA', 'VT', 'WA',
  'WI', 'WV', 'WY', 'AS', 'GU', 'MP', 'PR', 'VI',
]);

// A field of the table: plain ASCII without the characters that delimit fields and lines.
function fieldText(text) {
  const plain = toAscii(text);
  if (plain === null) return null;
  const cleaned = plain.replace(/\s+/g, ' ').trim();
  return cleaned && !/[#;|<>]/.test(cleaned) ? cleaned : null;
}

// One line of the GeoNames postal-code dump (tab-separated: country, ZIP, place, state name,
// state code, county, county code, community, community code, latitude, longitude, accuracy)
// as a table entry, or null when it is not usable.
function parseLine(line) {
  const fields = line.split('\t');
  if (fields.length < 11) return null;
  const [, zip, place, stateName, state] = fields;
  if (!/^\d{5}$/.test(zip) || !NWS_AREAS.has(state)) return null;
  if (/^(APO|FPO|DPO)\b/.test(place)) return null;
  const placeName = fieldText(place);
  const stateText = fieldText(stateName);
  if (!placeName || !stateText || !fields[9].trim() || !fields[10].trim()) return null;
  return {
    zip,
    text: `#${zip};${placeName};${state};${stateText};` +
      `${formatDecimalText(fields[9])};${formatDecimalText(fields[10])};`,
  };
}

// The ZIP table: one line per ZIP, sorted by ZIP, LF line ends. When the dump lists a ZIP
// twice, its first usable line wins.
function zipTableText(dump) {
  const entries = new Map();
  for (const line of dump.split(/\r?\n/)) {
    const entry = parseLine(line);
    if (entry && !entries.has(entry.zip)) entries.set(entry.zip, entry.text);
  }
  return [...entries.keys()].sort().map((zip) => `${entries.get(zip)}\n`).join('');
}

module.exports = { zipTableText };
