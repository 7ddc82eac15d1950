#pragma once

#include "cli/ReportOptions.h"
#include "settings/OlvenarRegistryClass.h"
#include "speech/TBaseTTS.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace olv {

// The speech side of olvenar-report: speaks each report as it is delivered and waits for the
// end of speech (--speak), or gathers the reports and renders them into one WAV or MP3 file
// through the speech controller's file output (--wav, --mp3). Uses the user's speech settings
// without changing them.
class ReportSpeech {
public:
    // Lets events run until done() holds; set by the program (it blocks on its event loop).
    using Waiter = std::function<void(const std::function<bool()>& done)>;

    ReportSpeech(const ReportOptions& options, std::ostream& out, std::ostream& err, Waiter wait);

    // Loads the voices and checks the options against them, the sound devices and the output
    // file, before any retrieval. Returns 0, or the exit status after saying what is wrong (1
    // when there is no sound device to speak on or the file cannot be written, 64 for a voice,
    // device or quality that does not exist).
    int Prepare();
    int ListVoices();
    int ListDevices();

    // Speaks the report and waits (--speak), or keeps it for Finish; minus signs are spoken
    // as "minus". False when speaking failed or was stopped (the reason has been told).
    bool Deliver(const std::string& report);
    // Renders the kept reports into the file (when writing one). Returns the exit status.
    int Finish();
    // Ends the speech in progress (an interrupt).
    void Stop();

private:
    bool SpeakAndWait(const std::string& text);
    bool RenderFile(const std::string& file, const char* format);
    bool CheckOutputFile(const std::string& file);
    void Fail(const std::string& message) const;

    const ReportOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    Waiter wait_;
    OlvenarRegistryClass settings_;
    TBaseTTS speech_;
    std::string pending_; // the reports for the file
    bool stopped_ = false;
};

} // namespace olv
