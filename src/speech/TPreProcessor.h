#pragma once

#include "speech/TLookupTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace olv {

class TBaseRegistryClass;

// Rewrites every text just before an engine speaks it (or renders it to a file), so that it
// reads well aloud:
//   1. every "=" and "\" becomes a blank, so no engine tag can come from the text itself;
//   2. quoted and unwanted lines go (StartOfLineMarkers, ContainingMarkers), and a gap of blank
//      lines before a line becomes a pause tag ("\Pau=0500\" or "\Pau=1000\");
//   3. runs of blanks, line breaks and punctuation shrink to one character;
//   4. the user's translations replace whole words (UserTranslations, in table order);
//   5. web links lose their scheme, "www" is spelt out and a path is read as "web link";
//   6. news references ("news:...@host") are dropped;
//   7. symbols become blanks (FilterSymbols), and runs of six or more capitals are lower-cased
//      so that they are read as words rather than letter by letter.
//
// The speech controller owns one: it calls LoadSettings once, on its own settings object,
// while it initialises, SaveSettings whenever it saves its settings (before its own SaveAll),
// and Process on each text it speaks.
//
// Persistence: the four switches are values of the settings object (application key);
// the markers and the translations are written to "FilterOptions.chl" in the program folder.
// "UserTranslations.chl" (program folder) is only ever read: it is where users put their own
// pronunciations by hand.
class TPreProcessor {
public:
    static constexpr std::string_view kFilterOptionsFile = "FilterOptions.chl";
    static constexpr std::string_view kUserTranslationsFile = "UserTranslations.chl";
    static constexpr std::string_view kShortPause = "\\Pau=0500\\";
    static constexpr std::string_view kLongPause = "\\Pau=1000\\";

    // The switches take their defaults; no markers and no translations until LoadFilters.
    TPreProcessor();

    // Declares the four switches in settings (boolean, application key only; an item already
    // declared is not declared twice), loads them (LoadAll), copies them into the switches,
    // then LoadFilters. Throws what LoadFilters throws.
    void LoadSettings(TBaseRegistryClass& settings);
    // Stores the switches into settings (SetValue; writing the registry is the caller's
    // SaveAll), then SaveFilters. Returns what SaveFilters returns.
    bool SaveSettings(TBaseRegistryClass& settings) const;

    // Reads the markers from "FilterOptions.chl" ("1~<marker>" start of line, "2~<marker>"
    // containing; other lines are ignored) or, when the file is missing, takes the built-in
    // ones; then the translations from "UserTranslations.chl" (created empty when missing),
    // and when there are none the four built-in ones ("tia", "pls", "thx", "imo").
    // Throws ELookupTblException (duplicate key) or EConvertError (a line of
    // "UserTranslations.chl" without an integer first field, an empty line included); the
    // markers are loaded by then and the translations read before the bad line stay.
    void LoadFilters();
    // Rewrites "FilterOptions.chl": start-of-line markers as type-1 lines, containing markers
    // as type-2 lines, translations as type-3 lines ("3~key~value~T|F", ignored on load).
    // Returns false when the file was not written; a failed write is shown to the user
    // (ShowMessage). A file that could not be read at load time is left alone.
    bool SaveFilters() const;

    // The text as the engine should get it. Never fails; keeps no state between calls.
    std::string Process(std::string_view text) const;

    bool FilterSymbols = false;      // symbols become blanks
    bool CheckStartOfLine = true;    // drop lines beginning with a start-of-line marker
    bool CheckContaining = true;     // drop lines containing a containing marker
    bool UseUserTranslations = true; // apply UserTranslations
    std::vector<std::string> StartOfLineMarkers;
    std::vector<std::string> ContainingMarkers;
    TLookupTable UserTranslations;

private:
    std::string RemoveLinesAndPause(std::string_view text) const;
    bool StartsWithMarker(std::string_view text, size_t at) const;
    bool ContainsMarker(std::string_view line) const;
    std::string ApplyUserTranslations(std::string text) const;
    void FilterSymbolsAndCapitals(std::string& text) const;
    bool LoadMarkers();
    void UseBuiltInMarkers();
    void AddBuiltInTranslations();

    bool filterFileUnreadable_ = false;
};

} // namespace olv
