#pragma once

#include "scripts/GrabBaseClass.h"
#include "scripts/LabelLineClass.h"
#include "scripts/NVListClass.h"
#include "scripts/ScriptLineClass.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

class DownloadClass;

enum class ScriptStatus { ssIdle, ssRunning, ssAbort };

// What ended a run with result 2, so that a host can tell the user why in plain words.
enum class ScriptFailure {
    None,     // the run did not fail
    Script,   // the script gave its own reason with `fail`
    Download, // a page could not be fetched
    Command,  // a command could not do its work (a missing label, file or link)
};

// Runs a scraping script over a page buffer; its variables live in the caller's list.
// Run() returns 0 when the script ended, 1 when Abort() stopped it, 2 when a command failed
// (the variable "ErrorMessage" then says why, and Failure() what kind of failure it was). A text
// that should be an integer and is not throws EConvertError out of Run().
class ScriptClass {
public:
    ScriptClass();
    ~ScriptClass();
    ScriptClass(const ScriptClass&) = delete;
    ScriptClass& operator=(const ScriptClass&) = delete;

    // Loads the value scriptName at "/" of the data file; a missing file or value gives an
    // empty script.
    void LoadScript(const std::string& dataFileName, const std::string& scriptName,
                    NVListClass& vars);
    // Loads a script from its text (lines ended by "|").
    void LoadScriptText(std::string_view scriptText, NVListClass& vars);
    int Run();
    // Requests a stop; safe from an event handler while Run() is active.
    void Abort();

    // A script that runs more lines than this is stopped with an error, so a looping script
    // from the update server can never hang an unattended read.
    int64_t MaxSteps = 5'000'000;

    // Proxy handed to every download; an empty host means none.
    std::string ProxyHost;
    std::string ProxyPort;
    std::string ProxyUsername;
    std::string ProxyPassword;

    const std::string& ScriptText() const { return scriptText_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    const std::vector<LabelLineClass>& Labels() const { return labels_; }
    const std::string& ScriptFile() const { return scriptFile_; }
    const std::string& Buffer() const { return buffer_; }
    int64_t Ptr() const { return ptr_; }
    int CurrentLine() const { return currentLine_; }
    ScriptStatus Status() const { return status_; }
    ScriptFailure Failure() const { return failure_; }

private:
    int ExecuteLine(const std::string& line);
    bool ExecuteCommand(const std::string& command, int& result);

    std::string GetArgValue(int n) const;
    void SetArgValue(int n, std::string_view value);
    std::string ResolveName(const std::string& text) const;
    int FindLabel(std::string_view name) const;
    int JumpTo(std::string_view label);
    int ReportError(const std::string& message, ScriptFailure failure = ScriptFailure::Command);
    int DoFail();
    void Advance() { ++currentLine_; }
    void MirrorPtr();

    // Commands that need more than a line.
    void DoGrab();
    void DoGrabTo();
    void DoSkipTo();
    void DoNewsGrab();
    void DoFilter();
    int DoGrabLink();
    int DoLoadFile();
    void DoRemoveFile();
    int DoGetUrl();
    int DoCompareAndJump(int comparison);

    std::string scriptText_;
    std::vector<std::string> lines_;
    std::string scriptFile_;
    NVListClass* vars_ = nullptr;
    std::string buffer_;
    int64_t ptr_ = 0;
    int currentLine_ = 0;
    bool done_ = false;
    ScriptStatus status_ = ScriptStatus::ssIdle;
    ScriptFailure failure_ = ScriptFailure::None;
    GrabBaseClass grabBase_;
    ScriptLineClass parser_;
    std::vector<LabelLineClass> labels_;
    DownloadClass* downloadObj_ = nullptr; // the geturl in progress, owned by DoGetUrl
};

} // namespace olv
