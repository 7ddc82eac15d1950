'use strict';

// Letters that Unicode decomposition does not reduce to plain ASCII.
const SPECIAL_LETTERS = {
  'ß': 'ss', 'ı': 'i', 'Ə': 'A', 'ə': 'a', 'đ': 'd', 'Đ': 'D', 'ð': 'd', 'Ð': 'D',
  'þ': 'th', 'Þ': 'Th', 'œ': 'oe', 'Œ': 'Oe', 'æ': 'ae', 'Æ': 'Ae', 'ø': 'o', 'Ø': 'O',
  'ł': 'l', 'Ł': 'L', 'ħ': 'h', 'Ħ': 'H', 'ŀ': 'l', 'Ŀ': 'L', 'ŉ': "'n", 'ĸ': 'k',
  '‘': "'", '’': "'", '`': "'", 'ʻ': "'", 'ʼ': "'", '´': "'", '“': '', '”': '', '"': '',
  '–': '-', '—': '-',
};

// Characters a shipped name may hold: the catalogue and the ZIP table are 7-bit ASCII, and
// "|", "<", ">", "#" and ";" separate keys, tags and fields elsewhere in the program.
const PLAIN_NAME = /^'?[A-Za-z0-9][A-Za-z0-9 '.,&-]*$/;

// Latin text to plain ASCII; returns null when something other than Latin letters is left
// (a name in Cyrillic, Greek or Arabic script cannot be transliterated this simply).
function toAscii(text) {
  let out = '';
  for (const ch of text.normalize('NFD')) {
    const code = ch.codePointAt(0);
    if (code >= 0x300 && code <= 0x36f) continue; // combining accents
    if (code < 0x80) out += ch;
    else if (Object.prototype.hasOwnProperty.call(SPECIAL_LETTERS, ch)) out += SPECIAL_LETTERS[ch];
    else return null;
  }
  return out;
}

// A gazetteer name made fit to list and speak: bracketed remarks and "A / B" alternatives
// dropped, blanks collapsed. Returns null when the name cannot be shown safely, and for names
// with a comma, which marks the province added to tell two towns apart.
function cleanName(raw) {
  let name = toAscii(raw);
  if (name === null) return null;
  name = name.split('/')[0];
  name = name.replace(/\([^)]*\)/g, ' ').replace(/\[[^\]]*\]/g, ' ');
  name = name.replace(/\s+/g, ' ').trim();
  if (!PLAIN_NAME.test(name) || name.includes(',') || name === 'Up') return null;
  return name;
}

module.exports = { toAscii, cleanName };
