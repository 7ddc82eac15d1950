#include "scripts/ScriptClass.h"

#include "net/DownloadClass.h"
#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "util/Strings.h"
#include "util/UtilsClass.h"

#include <algorithm>
#include <cstdio>

namespace olv {
namespace {

// The script names files by bare name in the program folder.
std::string InProgramFolder(const std::string& name) {
    return (name.empty() || name.front() == '/') ? name : ProgramFolder() + name;
}

// Scripts come from an update server and run unattended: they may touch only files of the
// program folder.
bool IsProgramFile(const std::string& name) {
    return IsInsideFolder(InProgramFolder(name), ProgramFolder());
}

std::vector<std::string> SplitScriptLines(std::string_view value) {
    std::vector<std::string> lines;
    while (!value.empty()) {
        const size_t bar = value.find('|');
        lines.emplace_back(value.substr(0, bar));
        if (bar == std::string_view::npos)
            break; // text after the last "|" is a final line
        value.remove_prefix(bar + 1);
    }
    return lines;
}

// Restores the interpreter's download pointer however the download ends.
class DownloadInProgress {
public:
    DownloadInProgress(DownloadClass*& slot, DownloadClass& download) : slot_(slot) {
        slot_ = &download;
    }
    DownloadInProgress(const DownloadInProgress&) = delete;
    DownloadInProgress& operator=(const DownloadInProgress&) = delete;
    ~DownloadInProgress() { slot_ = nullptr; }

private:
    DownloadClass*& slot_;
};

} // namespace

ScriptClass::ScriptClass() = default;
ScriptClass::~ScriptClass() = default;

void ScriptClass::LoadScript(const std::string& dataFileName, const std::string& scriptName,
                             NVListClass& vars) {
    std::string message;
    grabBase_.LoadFromFile(dataFileName, message);
    LoadScriptText(grabBase_.GetValue("/", scriptName), vars);
    scriptFile_ = dataFileName;
}

void ScriptClass::LoadScriptText(std::string_view scriptText, NVListClass& vars) {
    scriptText_ = std::string(scriptText);
    lines_ = SplitScriptLines(scriptText_);
    vars_ = &vars;
    buffer_.clear();
    currentLine_ = 0;
    labels_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        parser_.Parse(lines_[i]);
        if (LowerCase(parser_.Command) == "label")
            labels_.push_back({parser_.Args[0].ArgText, static_cast<int>(i)});
    }
}

int ScriptClass::Run() {
    status_ = ScriptStatus::ssRunning;
    failure_ = ScriptFailure::None;
    currentLine_ = 0;
    done_ = false;
    int previousLine = 0;
    int result = 0;
    int64_t steps = 0;
    while (!done_ && status_ == ScriptStatus::ssRunning && vars_) {
        ProcessMessages();
        if (currentLine_ < 0 || currentLine_ >= static_cast<int>(lines_.size()))
            break;
        const std::string& line = lines_[static_cast<size_t>(currentLine_)];
        ProcessMessages();
        result =
            ++steps > MaxSteps
                ? ReportError("Script stopped: it ran more than " + Decimal(MaxSteps) + " lines")
                : ExecuteLine(line);
        ProcessMessages();
        if (result != 0 || currentLine_ == previousLine)
            done_ = true;
        previousLine = currentLine_;
    }
    if (status_ != ScriptStatus::ssRunning && result == 0)
        result = 1;
    if (status_ != ScriptStatus::ssAbort)
        status_ = ScriptStatus::ssIdle;
    return result;
}

void ScriptClass::Abort() {
    if (status_ == ScriptStatus::ssAbort)
        return;
    status_ = ScriptStatus::ssAbort;
    if (downloadObj_)
        downloadObj_->Abort();
}

int ScriptClass::ExecuteLine(const std::string& line) {
    done_ = false;
    parser_.Parse(line);
    const std::string command = LowerCase(parser_.Command);
    int result = 0;
    if (StartsWith(command, "'") || !ExecuteCommand(command, result))
        Advance(); // comments, empty lines and unknown commands
    return result;
}

// Runs a known command; returns false when the command is unknown.
bool ScriptClass::ExecuteCommand(const std::string& command, int& result) {
    if (command == "end") {
        done_ = true;
        currentLine_ = static_cast<int>(lines_.size());
    } else if (command == "grab") {
        DoGrab();
    } else if (command == "grabto") {
        DoGrabTo();
    } else if (command == "skipto") {
        DoSkipTo();
    } else if (command == "skip") {
        ptr_ += Number(GetArgValue(1));
        MirrorPtr();
        Advance();
    } else if (command == "pos") {
        const std::string needle = GetArgValue(1);
        SetArgValue(3, Decimal(Find(needle, GetArgValue(2))));
        Advance();
    } else if (command == "newsgrab1") {
        DoNewsGrab();
    } else if (command == "substr") {
        const std::string text = GetArgValue(1);
        const int64_t start = Number(GetArgValue(2));
        const int64_t end = Number(GetArgValue(3));
        SetArgValue(1, Substring(text, start, end - start - 1));
        Advance();
    } else if (command == "replace") {
        const std::string text = GetArgValue(1);
        const std::string find = GetArgValue(2);
        SetArgValue(1, UtilsClass::ReplaceAll(text, find, GetArgValue(3)));
        Advance();
    } else if (command == "trimchar") {
        const std::string text = GetArgValue(1);
        const std::string c = GetArgValue(2);
        SetArgValue(1, UtilsClass::CollapseRuns(text, c, GetArgValue(3)));
        Advance();
    } else if (command == "filter") {
        DoFilter();
    } else if (command == "grablink") {
        result = DoGrabLink();
    } else if (command == "loadfile") {
        result = DoLoadFile();
    } else if (command == "script" || command == "label") {
        Advance();
    } else if (command == "gettmpfile") {
        SetArgValue(1, UtilsClass::MakeTempFileName());
        Advance();
    } else if (command == "rmfile") {
        DoRemoveFile();
    } else if (command == "goto") {
        result = JumpTo(GetArgValue(1));
    } else if (command == "iflt") {
        result = DoCompareAndJump(-1);
    } else if (command == "ifgt") {
        result = DoCompareAndJump(1);
    } else if (command == "ifeq") {
        result = DoCompareAndJump(0);
    } else if (command == "ifstrneqskip") {
        const std::string a = GetArgValue(1);
        currentLine_ += a != GetArgValue(2) ? 2 : 1;
    } else if (command == "ifset" || command == "ifnotset") {
        const bool isSet = !GetArgValue(1).empty();
        if (isSet == (command == "ifset"))
            result = JumpTo(GetArgValue(2));
        else
            Advance();
    } else if (command == "setvar") {
        SetArgValue(1, GetArgValue(2));
        Advance();
    } else if (command == "delvar") {
        SetArgValue(1, "");
        Advance();
    } else if (command == "plus" || command == "minus") {
        const int64_t a = Number(GetArgValue(1));
        const int64_t b = Number(GetArgValue(2));
        SetArgValue(1, Decimal(command == "plus" ? a + b : a - b));
        Advance();
    } else if (command == "cat") {
        const std::string a = GetArgValue(1);
        SetArgValue(1, a + GetArgValue(2));
        Advance();
    } else if (command == "length") {
        SetArgValue(2, Decimal(static_cast<int64_t>(GetArgValue(1).size())));
        Advance();
    } else if (command == "showmessage") {
        Advance();
        ShowMessage("ScriptMessage: =" + GetArgValue(1) + "=");
    } else if (command == "geturl") {
        result = DoGetUrl();
    } else if (command == "fail") {
        result = DoFail();
    } else {
        return false;
    }
    return true;
}

std::string ScriptClass::GetArgValue(int n) const {
    const ArgClass& arg = parser_.Args[static_cast<size_t>(n - 1)];
    return arg.IsLiteral ? arg.ArgText : vars_->Get(ResolveName(arg.ArgText));
}

void ScriptClass::SetArgValue(int n, std::string_view value) {
    const std::string name = ResolveName(parser_.Args[static_cast<size_t>(n - 1)].ArgText);
    vars_->Put(name, value);
    if (LowerCase(name) == "ptr")
        ptr_ = Number(value);
}

std::string ScriptClass::ResolveName(const std::string& text) const {
    return StartsWith(text, "var:") ? vars_->Get(std::string_view(text).substr(4)) : text;
}

int ScriptClass::FindLabel(std::string_view name) const {
    for (const LabelLineClass& label : labels_)
        if (label.LabelName == name)
            return label.LineIndex;
    return -1;
}

int ScriptClass::JumpTo(std::string_view label) {
    const int index = FindLabel(label);
    if (index < 0)
        return ReportError("Label not found - LabelName=" + std::string(label));
    currentLine_ = index;
    return 0;
}

int ScriptClass::ReportError(const std::string& message, ScriptFailure failure) {
    vars_->Put("ErrorMessage", message);
    failure_ = failure;
    return 2;
}

// Ends the run with the script's own reason for the user: the message given, else the one the
// script has already put into "ErrorMessage". A failure never goes without a reason.
int ScriptClass::DoFail() {
    std::string reason = GetArgValue(1);
    if (reason.empty())
        reason = vars_->Get("ErrorMessage");
    if (reason.empty())
        reason = "Script failed without a reason";
    return ReportError(reason, ScriptFailure::Script);
}

void ScriptClass::MirrorPtr() {
    vars_->Put("Ptr", Decimal(ptr_));
}

void ScriptClass::DoGrab() {
    const int64_t count = Number(GetArgValue(2));
    SetArgValue(1, SubstringView(buffer_, ptr_, count));
    ptr_ += count;
    MirrorPtr();
    Advance();
}

void ScriptClass::DoGrabTo() {
    const std::string delimiter = GetArgValue(2);
    const int64_t k = Find(delimiter, SubstringView(buffer_, ptr_, kMax));
    std::string_view grabbed;
    if (k > 0) {
        grabbed = SubstringView(buffer_, ptr_, k - 1);
        ptr_ = ptr_ + k - 1;
    }
    SetArgValue(1, grabbed);
    MirrorPtr();
    Advance();
}

void ScriptClass::DoSkipTo() {
    const std::string text = GetArgValue(1);
    const int32_t count = Number(GetArgValue(2));
    int64_t p = ptr_;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t k = Find(text, SubstringView(buffer_, p, kMax));
        if (k == 0) {
            p = 0;
            break;
        }
        p += k;
    }
    if (p != 0)
        ptr_ = p;
    SetArgValue(3, Decimal(p));
    MirrorPtr();
    Advance();
}

void ScriptClass::DoNewsGrab() {
    std::string text = GetArgValue(1);
    const int32_t minLength = Number(GetArgValue(2));
    text = UtilsClass::ReplaceAll(text, "<p>", "  ");
    text = UtilsClass::ReplaceAll(text, "#151", " ");
    text = UtilsClass::RemoveBetween(text, "<script", "</script");
    std::string out;
    std::string_view s = text;
    while (!s.empty()) {
        const int64_t gt = Find(">", s);
        if (gt == 0)
            break;
        s = SubstringView(s, gt + 1, kMax);
        const int64_t lt = Find("<", s);
        if (lt == 0)
            break;
        if (lt > minLength)
            out.append(SubstringView(s, 1, lt - 1));
        s = SubstringView(s, lt + 1, kMax);
    }
    SetArgValue(1, out);
    Advance();
}

void ScriptClass::DoFilter() {
    std::string s = GetArgValue(1);
    const std::string start = GetArgValue(2);
    const std::string end = GetArgValue(3);
    for (;;) {
        const int64_t i = Find(start, s);
        int64_t j = Find(end, SubstringView(s, i + 1, kMax));
        if (j != 0)
            j += i;
        if (i == 0 || i >= j)
            break;
        s = Substring(s, 1, i - 1) + Substring(s, j + 1, kMax);
    }
    SetArgValue(1, s);
    Advance();
}

int ScriptClass::DoGrabLink() {
    std::string_view text = SubstringView(buffer_, ptr_, kMax);
    const int64_t k = Find("href=", LowerCase(text));
    if (k == 0) {
        const int result = ReportError("GrabLink unable to find a link.");
        MirrorPtr();
        return result;
    }
    ptr_ += k + 5;
    text = SubstringView(text, k + 5, kMax);

    const int64_t g = Find(">", text);
    std::string_view link = SubstringView(text, 1, g - 1);
    if (StartsWith(link, "\"")) {
        link.remove_prefix(1);
        const size_t quote = link.find('"');
        link = quote == std::string_view::npos ? std::string_view() : link.substr(0, quote);
    }
    SetArgValue(2, link);

    text = SubstringView(text, g + 1, kMax);
    ptr_ += g;
    if (StartsWith(text, "<b>"))
        text = SubstringView(text, 4, kMax);
    const int64_t h = Find("<", text);
    text = SubstringView(text, 1, h - 1);
    ptr_ += h;
    SetArgValue(1, text);
    Advance();
    MirrorPtr();
    return 0;
}

int ScriptClass::DoLoadFile() {
    const std::string name = GetArgValue(1);
    std::string contents;
    if (!IsProgramFile(name) || !FileExists(InProgramFolder(name)) ||
        !ReadWholeFile(InProgramFolder(name), contents))
        return ReportError("Unable to open file - " + name);
    // The lines joined without their line ends.
    contents.erase(std::remove_if(contents.begin(), contents.end(),
                                  [](char c) { return c == '\r' || c == '\n'; }),
                   contents.end());
    buffer_ = std::move(contents);
    ptr_ = 1;
    vars_->Put("Buffer", buffer_);
    MirrorPtr();
    Advance();
    return 0;
}

void ScriptClass::DoRemoveFile() {
    const std::string name = GetArgValue(1);
    if (IsProgramFile(name))
        std::remove(InProgramFolder(name).c_str());
    Advance();
}

int ScriptClass::DoGetUrl() {
    const std::string url = GetArgValue(1);
    const std::string file = GetArgValue(2);
    if (!IsProgramFile(file))
        return ReportError("download failed, URL=" + url + " - Error:Unable to create " + file +
                           " - the file is outside the program folder");
    DownloadClass download;
    if (!ProxyHost.empty())
        download.SetProxy(ProxyHost, ProxyPort, ProxyUsername, ProxyPassword);
    bool ok;
    {
        DownloadInProgress inProgress(downloadObj_, download);
        ok = download.GetFile(url, InProgramFolder(file), false);
    }
    if (!ok) {
        // The run ends here, so the script could never remove what was received.
        std::remove(InProgramFolder(file).c_str());
        return ReportError("download failed, URL=" + url + " - Error:" + download.ErrorText(),
                           ScriptFailure::Download);
    }
    Advance();
    return 0;
}

int ScriptClass::DoCompareAndJump(int comparison) {
    const int32_t x = Number(GetArgValue(1));
    const int32_t y = Number(GetArgValue(2));
    const bool jump = comparison < 0 ? x < y : comparison > 0 ? x > y : x == y;
    if (jump)
        return JumpTo(GetArgValue(3));
    Advance();
    return 0;
}

} // namespace olv
