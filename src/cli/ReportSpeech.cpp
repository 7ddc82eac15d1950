#include "cli/ReportSpeech.h"

#include "audio/TMP3Class.h"
#include "speech/AudioDevices.h"
#include "speech/MinusSigns.h"
#include "speech/TAudioDeviceList.h"
#include "speech/TBaseVoiceClass.h"
#include "util/Strings.h"

#include <exception>
#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace olv {
namespace {

constexpr int kFailed = 1;
constexpr int kBadOption = 64;
constexpr const char* kNoSoundCard = "A sound card is not detected";
// Reports in one file are parted by a pause (three line ends make one).
constexpr const char* kReportGap = "\n\n\n";

} // namespace

// No end-of-speech events are bound: the controller then goes idle as soon as the audio ends,
// without the window's 100 ms pause before it reports.
ReportSpeech::ReportSpeech(const ReportOptions& options, std::ostream& out, std::ostream& err,
                           Waiter wait)
    : options_(options), out_(out), err_(err), wait_(std::move(wait)) {}

void ReportSpeech::Fail(const std::string& message) const {
    err_ << "olvenar-report: " << message << '\n';
}

int ReportSpeech::Prepare() {
    if (options_.Speak && AudioDevices::Count() == 0) {
        Fail(kNoSoundCard);
        return kFailed;
    }
    for (const std::string* file : {&options_.WavFile, &options_.Mp3File})
        if (!file->empty() && !CheckOutputFile(*file))
            return kFailed;
    settings_.LoadAll();
    speech_.Initialize(settings_);
    if (!options_.Voice.empty() && speech_.Voices.FindByName(options_.Voice) == nullptr) {
        Fail("no voice is named '" + options_.Voice + "' (--list-voices lists them)");
        return kBadOption;
    }
    if (options_.DeviceGiven) {
        if (options_.Device < -1 || options_.Device >= AudioDevices::Count()) {
            Fail("there is no sound device " + Decimal(options_.Device) +
                 " (--list-devices lists them)");
            return kBadOption;
        }
        speech_.AudioDeviceID = options_.Device;
    }
    if (!options_.Quality.empty()) {
        if (!speech_.MP3Writer->IsValidQuality(options_.Quality)) {
            std::vector<std::string> qualities;
            speech_.MP3Writer->FillQualities(qualities);
            Fail("'" + options_.Quality + "' is not an MP3 quality; these are:");
            for (const std::string& quality : qualities)
                err_ << "  \"" << quality << "\"\n";
            return kBadOption;
        }
        speech_.SetMP3Quality(options_.Quality);
    }
    return 0;
}

// What can be known before the weather is retrieved: a folder given as the file, or a file in
// a folder that is not there. The writer itself refuses what cannot be written into.
bool ReportSpeech::CheckOutputFile(const std::string& file) {
    std::error_code ec;
    const fs::path path(file);
    if (!path.has_filename() || fs::is_directory(path, ec)) {
        Fail(file + " is a folder, not a file");
        return false;
    }
    if (!fs::is_directory(path.parent_path(), ec)) {
        Fail("The folder of " + file + " does not exist");
        return false;
    }
    return true;
}

int ReportSpeech::ListVoices() {
    for (size_t i = 0; i < speech_.Voices.Count(); ++i)
        out_ << speech_.Voices[i].Name << '\n';
    return 0;
}

int ReportSpeech::ListDevices() {
    const auto entries = TAudioDeviceList::Entries();
    if (entries.empty()) {
        Fail(kNoSoundCard);
        return kFailed;
    }
    for (const TAudioDeviceList::Entry& entry : entries)
        out_ << entry.DeviceID << '\t' << entry.Caption << '\n';
    return 0;
}

bool ReportSpeech::Deliver(const std::string& report) {
    const std::string text = SpokenMinusSigns(report);
    if (options_.Speak)
        return SpeakAndWait(text);
    if (options_.WritesFile())
        pending_ += (pending_.empty() ? "" : kReportGap) + text;
    return true;
}

void ReportSpeech::Stop() {
    stopped_ = true;
    speech_.Stop();
}

bool ReportSpeech::SpeakAndWait(const std::string& text) {
    if (stopped_)
        return false;
    try {
        speech_.Speak(options_.Voice, text);
    } catch (const std::exception& error) {
        Fail(error.what());
        return false;
    }
    wait_([this] { return !speech_.IsBusy(); });
    return !stopped_;
}

int ReportSpeech::Finish() {
    if (pending_.empty())
        return 0;
    const bool made = options_.WavFile.empty()
                          ? RenderFile(options_.Mp3File, TBaseTTS::kOutputFormatMp3)
                          : RenderFile(options_.WavFile, TBaseTTS::kOutputFormatWav);
    return made ? 0 : kFailed;
}

// The controller writes the file itself, under the name given: into a pipe or a device as a
// stream, over a regular file only once it is complete.
bool ReportSpeech::RenderFile(const std::string& file, const char* format) {
    const fs::path target(file);
    speech_.OutputToFile = true;
    speech_.OutputDir = target.parent_path().string();
    speech_.SetOutputFormat(format);
    speech_.FileBase = target.stem().string();
    speech_.OutputFileName = target.filename().string();
    if (!SpeakAndWait(pending_))
        return false;
    if (speech_.FileMade())
        return true;
    Fail(file + " was not made"); // after the reason, which the controller has shown
    return false;
}

} // namespace olv
