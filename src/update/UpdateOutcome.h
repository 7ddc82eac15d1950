#pragma once

#include <string>
#include <vector>

namespace olv {

// What one update check found and did, for hosts that report it in their own words.
struct FileOutcome {
    enum class Result { Current, Updated, Declined, Failed, Refused, Cancelled };

    std::string FileName;
    std::string LocalRevision;
    std::string ServerRevision;
    Result State = Result::Current;
    bool RestartNeeded = false; // a new copy takes effect when the program starts again
    std::string Message;        // what the user was told when it failed or was refused
    std::string Reason;         // why, in the words of the part that failed
};

struct UpdateOutcome {
    enum class Result { NotRun, NoServer, Failed, Refused, Cancelled, Read };

    Result Manifest = Result::NotRun;
    std::string Message; // what the user is told when it failed or was refused
    std::string Reason;  // why, in the words of the part that failed
    std::string ServerVersion;
    bool NewerProgram = false; // the files were then left unexamined
    std::vector<FileOutcome> Files;
};

} // namespace olv
