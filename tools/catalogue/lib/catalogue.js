'use strict';

const { COUNTRIES, ADMIN_REGIONS, US_TERRITORIES } = require('./countries');
const { toAscii } = require('./ascii');
const { toPlace, selectPlaces } = require('./selection');
const { formatFromHundredThousandths } = require('./coords');

const US_REGION = 'United States';

// The catalogue's revision: raise it whenever the catalogue changes, so that the update server
// offers the new one to every copy of the program. The reader ignores the header line; the
// updater reads the tag from it.
const REVISION = '1.0';

const HEADER =
  'Olvenar City Catalogue - city data: GeoNames (geonames.org), CC BY 4.0 - ' +
  'weather: National Weather Service (US), Open-Meteo.com (CC BY 4.0) - ' +
  `<Revision>${REVISION}</Revision>`;

const NWS_PAGE = 'https://forecast.weather.gov/MapClick.php?lat=LAT&lon=LON&FcstType=json';
const OPEN_METEO_PAGE =
  'https://api.open-meteo.com/v1/forecast?latitude=LAT&longitude=LON' +
  '&current=temperature_2m,relative_humidity_2m,dew_point_2m,weather_code,pressure_msl,' +
  'wind_speed_10m,wind_direction_10m,visibility' +
  '&daily=weather_code,temperature_2m_max,temperature_2m_min' +
  '&temperature_unit=fahrenheit&wind_speed_unit=mph&timezone=auto&forecast_days=7';

// How many towns a sub-region lists, from how many sizeable towns it has: small countries
// and states still get a handful, big ones a few dozen.
function countryQuota(places) {
  const sizeable = places.filter((place) => place.population >= 50000).length;
  return Math.min(45, Math.max(12, sizeable));
}

function usStateQuota(places) {
  const sizeable = places.filter((place) => place.population >= 50000).length;
  return Math.min(70, Math.max(15, 10 + sizeable));
}

function provinceQuota(places) {
  const sizeable = places.filter((place) => place.population >= 50000).length;
  return Math.min(30, Math.max(8, 6 + sizeable));
}

// Where a place is listed: [region, sub-region, kind], or null for places left out.
function placementOf(place, admin1Names) {
  const adminRegion = ADMIN_REGIONS[place.country];
  if (adminRegion) {
    const adminName = admin1Names.get(`${place.country}.${place.admin}`);
    if (!adminName) return null;
    return [adminRegion, adminName, place.country === 'US' ? 'state' : 'province'];
  }
  if (US_TERRITORIES[place.country]) return [US_REGION, US_TERRITORIES[place.country], 'country'];
  const country = COUNTRIES[place.country];
  return country ? [country[1], country[0], 'country'] : null;
}

function groupPlaces(cities, admin1Names) {
  const groups = new Map();
  for (const city of cities) {
    const place = toPlace(city);
    const placement = place && placementOf(place, admin1Names);
    if (!placement) continue;
    const key = placement.join('|');
    if (!groups.has(key)) groups.set(key, { placement, places: [] });
    groups.get(key).places.push(place);
  }
  return groups;
}

function selectGroup({ placement, places }, admin1Names) {
  const kind = placement[2];
  const quota = { country: countryQuota, state: usStateQuota, province: provinceQuota }[kind];
  const capitalCodes = kind === 'country' ? ['PPLC'] : ['PPLC', 'PPLA'];
  return selectPlaces(places, {
    isCapital: (place) => capitalCodes.includes(place.feature),
    quota: quota(places),
    // Within a country, a second town of the same name is told apart by its province.
    suffixOf: (place) =>
      kind === 'country' ? admin1Names.get(`${place.country}.${place.admin}`) : null,
  });
}

// region -> sub-region -> picked places, as plain sorted arrays.
function buildCatalogue(cities, admin1) {
  const admin1Names = new Map();
  for (const { code, name } of admin1) {
    const plain = toAscii(name);
    if (plain) admin1Names.set(code, plain.trim());
  }
  const tree = new Map();
  for (const group of groupPlaces(cities, admin1Names).values()) {
    const [region, subRegion] = group.placement;
    const picked = selectGroup(group, admin1Names);
    if (!tree.has(region)) tree.set(region, new Map());
    tree.get(region).set(subRegion, picked);
  }
  return sortedTree(tree);
}

const byText = (a, b) => (a < b ? -1 : a > b ? 1 : 0);

function sortedTree(tree) {
  return [...tree.keys()].sort(byText).map((region) => ({
    name: region,
    subRegions: [...tree.get(region).keys()].sort(byText).map((subRegion) => ({
      name: subRegion,
      places: [...tree.get(region).get(subRegion)].sort((a, b) => byText(a.name, b.name)),
    })),
  }));
}

function pageAddress(region, lat, lon) {
  const template = region === US_REGION ? NWS_PAGE : OPEN_METEO_PAGE;
  return template.replace('LAT', lat).replace('LON', lon);
}

// The catalogue file: header, then region / sub-region / four lines a town / "Up" closers.
function catalogueText(regions) {
  const lines = [HEADER];
  for (const region of regions) {
    lines.push(region.name);
    for (const subRegion of region.subRegions) {
      lines.push(subRegion.name);
      for (const place of subRegion.places) {
        const lat = formatFromHundredThousandths(place.lat);
        const lon = formatFromHundredThousandths(place.lon);
        lines.push(place.name, pageAddress(region.name, lat, lon), lat, lon);
      }
      lines.push('Up');
    }
    lines.push('Up');
  }
  lines.push('Up');
  return lines.map((line) => `${line}\r\n`).join('');
}

module.exports = { buildCatalogue, catalogueText, US_REGION };
