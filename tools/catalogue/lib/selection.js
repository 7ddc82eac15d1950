'use strict';

const { cleanName } = require('./ascii');

// Feature codes of places that are not towns of their own: parts of a city (PPLX), and
// historical, abandoned or destroyed places.
const EXCLUDED_FEATURES = new Set(['PPLX', 'PPLH', 'PPLQ', 'PPLW', 'PPLCH']);

// Better-known English or shorter names for a few capitals and big cities, where dropping the
// accents alone would leave a name nobody uses ("Koln"); keyed by country and gazetteer name.
const NAME_OVERRIDES = {
  'CA|Québec': 'Quebec City',
  'CH|Genève': 'Geneva',
  'CH|Luzern': 'Lucerne',
  'DE|Köln': 'Cologne',
  'DE|Nürnberg': 'Nuremberg',
  'FM|Palikir - National Government Center': 'Palikir',
  'KZ|Nur-Sultan': 'Astana',
  'PA|Panamá': 'Panama City',
  'US|Washington, D.C.': 'Washington',
};

// Two towns closer than this share their weather; only the larger one is listed. A big city
// next to a bigger one (Yonkers beside the Bronx) is still listed unless it nearly coincides.
const MIN_DISTANCE_KM = 10;
const BIG_CITY_POPULATION = 150000;
const BIG_CITY_MIN_DISTANCE_KM = 5;

function minDistanceKm(place) {
  return place.population >= BIG_CITY_POPULATION ? BIG_CITY_MIN_DISTANCE_KM : MIN_DISTANCE_KM;
}

function distanceKm(a, b) {
  const toRadians = Math.PI / 180;
  const dLat = (b.lat - a.lat) * toRadians;
  const dLon = (b.lon - a.lon) * toRadians;
  const h =
    Math.sin(dLat / 2) ** 2 +
    Math.cos(a.lat * toRadians) * Math.cos(b.lat * toRadians) * Math.sin(dLon / 2) ** 2;
  return 2 * 6371 * Math.asin(Math.min(1, Math.sqrt(h)));
}

// A gazetteer record as the selection needs it, or null for one that cannot be listed.
function toPlace(city) {
  if (EXCLUDED_FEATURES.has(city.featureCode)) return null;
  const override = NAME_OVERRIDES[`${city.country}|${city.name}`];
  let name = override || cleanName(city.name);
  // Japanese city names sometimes carry the word for "city" ("Gifu-shi"); nobody says it.
  if (name && city.country === 'JP') name = name.replace(/-shi$/, '');
  if (!name) return null;
  return {
    id: city.cityId,
    name,
    country: city.country,
    admin: city.adminCode,
    feature: city.featureCode,
    population: city.population,
    lon: city.loc.coordinates[0],
    lat: city.loc.coordinates[1],
  };
}

function byPopulation(a, b) {
  return b.population - a.population || a.id - b.id;
}

// Picks up to `quota` places of one sub-region: the capital first, then the largest places
// that are not too close to a place already picked (minDistanceKm). A place whose name is
// taken gets ", " and its admin-1 name when `suffixOf` gives one that is free; otherwise it
// is passed over, so every name stays unique within its sub-region.
function selectPlaces(places, { isCapital, quota, suffixOf }) {
  const ordered = [...places].sort(byPopulation);
  const capital = ordered.find(isCapital);
  const picked = [];
  const names = new Set();
  const tryAdd = (place) => {
    const minimum = minDistanceKm(place);
    if (picked.some((other) => distanceKm(place, other) < minimum)) return;
    let name = place.name;
    if (names.has(name)) {
      const suffix = suffixOf(place);
      if (!suffix) return;
      name = `${name}, ${suffix}`;
      if (names.has(name)) return;
    }
    names.add(name);
    picked.push({ ...place, name });
  };
  if (capital) tryAdd(capital);
  for (const place of ordered) {
    if (picked.length >= quota) break;
    if (place !== capital) tryAdd(place);
  }
  return picked;
}

module.exports = { toPlace, selectPlaces };
