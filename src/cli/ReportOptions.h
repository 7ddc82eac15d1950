#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace olv {

// The command line of olvenar-report.
struct ReportOptions {
    enum class Kind { Conditions, Forecast, Summary };

    Kind ReportKind = Kind::Conditions;
    bool Metric = false;
    std::string ProxyHost; // from --proxy; empty: the proxy of the settings
    std::string ProxyPort;
    std::string FindText; // --find: list matching keys instead of reading
    bool MyCities = false;
    bool Store = false;
    std::vector<std::string> Keys;
    // --add and --remove: change My Cities first, in the order given.
    std::vector<std::pair<bool, std::string>> MyCitiesChanges; // (true: add, key)

    // Speech: speak the reports (--speak, on --device or the default output) or render them
    // into one WAV or MP3 file; with the voice and MP3 quality given or else the user's.
    bool Speak = false;
    int Device = -1;
    bool DeviceGiven = false;
    std::string WavFile;
    std::string Mp3File;
    std::string Quality;
    std::string Voice;
    bool ListVoices = false;
    bool ListDevices = false;
    // --check-update: the silent update check, alone.
    bool CheckUpdate = false;

    // Any option that needs the speech controller.
    bool UsesSpeech() const;
    bool WritesFile() const { return !WavFile.empty() || !Mp3File.empty(); }
    // Relative --wav and --mp3 paths become paths under folder (the folder the tool was
    // started in; it runs in the program folder).
    void ResolveFiles(const std::string& folder);

    // Parses argv; false (with the reason in error) when the line is not understood.
    // help is set for --help.
    bool Parse(int argc, char** argv, std::string& error, bool& help);
    // Converts every text option (keys, names, the search text) with convert, which returns
    // false with the reason in error; file names stay as the user gave them.
    bool ConvertTexts(const std::function<bool(std::string& text, std::string& error)>& convert,
                      std::string& error);
    // The combinations of speech options that make sense; false with the reason in error.
    bool CheckSpeechOptions(std::string& error) const;

    static const char* Usage();
};

} // namespace olv
