'use strict';

// Coordinates are written with exactly four decimals, rounded half away from zero on the
// decimal digits themselves so that the output never depends on binary floating point.

// "42.35842" or "-71.0598" or "21.3" -> "42.3584", "-71.0598", "21.3000"
function formatDecimalText(text) {
  const match = /^(-?)(\d+)(?:\.(\d*))?$/.exec(String(text).trim());
  if (!match) throw new Error(`'${text}' is not a decimal number`);
  const negative = match[1] === '-';
  const digits = (match[3] || '').padEnd(5, '0');
  // Value in units of 1/100000, as an integer.
  const scaled = BigInt(match[2]) * 100000n + BigInt(digits.slice(0, 5));
  const roundUp = Number(digits[4]) >= 5; // the fifth decimal decides; later ones are rare
  return formatUnits(scaled / 10n + (roundUp ? 1n : 0n), negative);
}

// A value held as an integer count of 1/10000 degrees, with its sign given apart.
function formatUnits(units, negative) {
  const whole = units / 10000n;
  const fraction = String(units % 10000n).padStart(4, '0');
  const sign = negative && units !== 0n ? '-' : '';
  return `${sign}${whole}.${fraction}`;
}

// A coordinate that the gazetteer stores as an integer number of 1/100000 degrees.
function formatFromHundredThousandths(value) {
  const scaled = Math.round(value * 100000);
  const negative = scaled < 0;
  const text = `${Math.abs(scaled)}`.padStart(6, '0');
  return formatDecimalText(`${negative ? '-' : ''}${text.slice(0, -5)}.${text.slice(-5)}`);
}

module.exports = { formatDecimalText, formatFromHundredThousandths };
