#include "cli/ReportOptions.h"

#include "util/EConvertError.h"
#include "util/Strings.h"

#include <string_view>

namespace olv {

const char* ReportOptions::Usage() {
    return "usage: olvenar-report [--conditions | --forecast | --summary] [--metric]\n"
           "                      [--proxy HOST:PORT] [--my-cities] [--store] [KEY...]\n"
           "       olvenar-report --find TEXT\n"
           "       olvenar-report --check-update [--proxy HOST:PORT]\n"
           "  KEY is a city key such as \"United States|Massachusetts|Boston\" or \"ZIP:02134\".\n"
           "  --my-cities   read the My Cities summary from the stored records\n"
           "  --store       retrieve every My City and store the fresh records first\n"
           "  --add KEY     add a city to My Cities (before anything else)\n"
           "  --remove KEY  remove a city from My Cities\n"
           "  --find TEXT   list the catalogue's keys whose city name contains TEXT\n"
           "  --check-update  fetch newer data files from the update server and say what it\n"
           "                did; without a terminal to ask, a newer catalogue is only reported\n"
           "Speech:\n"
           "  --speak          speak each report and return when speech ends\n"
           "  --device N       the sound device to speak on (see --list-devices); -1 the default\n"
           "  --wav FILE       render the reports into a WAV file instead\n"
           "  --mp3 FILE       render the reports into an MP3 file instead\n"
           "  --quality Q      the MP3 quality, such as \"32 kbps  22.05 KHz  Mono\"\n"
           "  --voice NAME     the voice to speak with (see --list-voices)\n"
           "  --list-voices    list the voices\n"
           "  --list-devices   list the sound devices with their numbers\n";
}

bool ReportOptions::Parse(int argc, char** argv, std::string& error, bool& help) {
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--conditions") {
            ReportKind = Kind::Conditions;
        } else if (arg == "--forecast") {
            ReportKind = Kind::Forecast;
        } else if (arg == "--summary") {
            ReportKind = Kind::Summary;
        } else if (arg == "--metric") {
            Metric = true;
        } else if (arg == "--my-cities") {
            MyCities = true;
        } else if (arg == "--store") {
            Store = true;
        } else if ((arg == "--add" || arg == "--remove") && hasValue) {
            MyCitiesChanges.emplace_back(arg == "--add", argv[++i]);
        } else if (arg == "--proxy" && hasValue) {
            const std::string proxy = argv[++i];
            const auto colon = proxy.rfind(':');
            ProxyHost = proxy.substr(0, colon);
            ProxyPort = colon == std::string::npos ? "80" : proxy.substr(colon + 1);
        } else if (arg == "--find" && hasValue) {
            FindText = argv[++i];
        } else if (arg == "--speak") {
            Speak = true;
        } else if (arg == "--device" && hasValue) {
            try {
                Device = Number(argv[++i]);
            } catch (const EConvertError&) {
                error = "--device takes a device number, not '" + std::string(argv[i]) + "'";
                return false;
            }
            DeviceGiven = true;
        } else if (arg == "--wav" && hasValue) {
            WavFile = argv[++i];
        } else if (arg == "--mp3" && hasValue) {
            Mp3File = argv[++i];
        } else if (arg == "--quality" && hasValue) {
            Quality = argv[++i];
        } else if (arg == "--voice" && hasValue) {
            Voice = argv[++i];
        } else if (arg == "--list-voices") {
            ListVoices = true;
        } else if (arg == "--list-devices") {
            ListDevices = true;
        } else if (arg == "--check-update") {
            CheckUpdate = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            error = "unknown or incomplete option '" + std::string(arg) + "'";
            return false;
        } else {
            Keys.emplace_back(arg);
        }
    }
    if (help)
        return true;
    if (CheckUpdate) {
        const bool alone = FindText.empty() && Keys.empty() && !MyCities && !Store && !UsesSpeech();
        if (!alone)
            error = "--check-update goes alone (with --proxy at most)";
        return alone;
    }
    if (!CheckSpeechOptions(error))
        return false;
    const bool listsOnly = ListVoices || ListDevices;
    if (FindText.empty() && Keys.empty() && !MyCities && !Store && !listsOnly &&
        MyCitiesChanges.empty()) {
        error = "no city key given";
        return false;
    }
    return true;
}

bool ReportOptions::CheckSpeechOptions(std::string& error) const {
    if (int(Speak) + int(!WavFile.empty()) + int(!Mp3File.empty()) > 1)
        error = "--speak, --wav and --mp3 exclude each other";
    else if (DeviceGiven && !Speak)
        error = "--device goes with --speak";
    else if (!Quality.empty() && Mp3File.empty())
        error = "--quality goes with --mp3";
    else if (!Voice.empty() && !Speak && !WritesFile())
        error = "--voice goes with --speak, --wav or --mp3";
    return error.empty();
}

bool ReportOptions::ConvertTexts(
    const std::function<bool(std::string& text, std::string& error)>& convert, std::string& error) {
    std::vector<std::string*> texts = {&ProxyHost, &FindText, &Quality, &Voice};
    for (std::string& key : Keys)
        texts.push_back(&key);
    for (auto& change : MyCitiesChanges)
        texts.push_back(&change.second);
    for (std::string* text : texts)
        if (!convert(*text, error))
            return false;
    return true;
}

bool ReportOptions::UsesSpeech() const {
    return Speak || WritesFile() || ListVoices || ListDevices;
}

void ReportOptions::ResolveFiles(const std::string& folder) {
    for (std::string* file : {&WavFile, &Mp3File})
        if (!file->empty() && !StartsWith(*file, "/"))
            *file = folder + (EndsWith(folder, "/") ? "" : "/") + *file;
}

} // namespace olv
