#include "cli/ReportSpeech.h"

#include "audio/TMP3Class.h"
#include "platform/ProcessMessages.h"
#include "speech/AudioDevices.h"
#include "speech/MinusSigns.h"
#include "speech/TAudioDeviceList.h"
#include "speech/TBaseVoiceClass.h"
#include "util/Strings.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <ostream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace olv {
namespace {

constexpr int kFailed = 1;
constexpr int kBadOption = 64;
constexpr const char* kNoSoundCard = "A sound card is not detected";
// Reports in one file are parted by a pause (three line ends make one).
constexpr const char* kReportGap = "\n\n\n";

} // namespace

ReportSpeech::ReportSpeech(const ReportOptions& options, std::ostream& out, std::ostream& err)
    : options_(options), out_(out), err_(err) {
    Pump = [] {
        ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    speech_.OnDone = [this](TBaseTTS&, TtsReason reason, const std::string& fileBase) {
        done_ = true;
        doneReason_ = reason;
        doneFile_ = fileBase;
    };
}

void ReportSpeech::Fail(const std::string& message) const {
    err_ << "olvenar-report: " << message << '\n';
}

int ReportSpeech::Prepare() {
    if (options_.Speak && AudioDevices::Count() == 0) {
        Fail(kNoSoundCard);
        return kFailed;
    }
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

bool ReportSpeech::SpeakAndWait(const std::string& text) {
    done_ = false;
    try {
        speech_.Speak(options_.Voice, text);
    } catch (const std::exception& error) {
        Fail(error.what());
        return false;
    }
    while (!done_)
        Pump();
    return doneReason_ == TtsReason::Finished;
}

int ReportSpeech::Finish() {
    if (pending_.empty())
        return 0;
    const bool made = options_.WavFile.empty()
                          ? RenderFile(options_.Mp3File, TBaseTTS::kOutputFormatMp3, ".mp3")
                          : RenderFile(options_.WavFile, TBaseTTS::kOutputFormatWav, ".wav");
    return made ? 0 : kFailed;
}

// The controller writes OutputDir + FileBase + the format's extension; a file named otherwise
// is rendered under a passing name beside it and then renamed.
bool ReportSpeech::RenderFile(const std::string& file, const char* format, const char* extension) {
    const fs::path target(file);
    const bool ownExtension = SameText(target.extension().string(), extension);
    speech_.OutputToFile = true;
    speech_.OutputDir = target.parent_path().string();
    speech_.SetOutputFormat(format);
    speech_.FileBase =
        ownExtension ? target.stem().string() : ".olvenar-report-" + Decimal(getpid());
    if (!SpeakAndWait(pending_))
        return false;
    const std::string made = speech_.OutputDir + speech_.FileBase + extension;
    if (doneFile_.empty()) {
        Fail(file + " was not made");
        return false;
    }
    std::error_code ec;
    if (made != file)
        fs::rename(made, target, ec);
    if (ec) {
        Fail("cannot rename " + made + " to " + file + ": " + ec.message());
        std::remove(made.c_str());
    }
    return !ec;
}

} // namespace olv
