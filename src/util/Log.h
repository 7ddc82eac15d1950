#pragma once

#include <string>
#include <string_view>

namespace olv {

// Appends "date time - message" to the debug log. The file is opened and closed for every
// line and a failure to write is ignored. Nothing is written until a log file is set.
void Log(std::string_view message);

// Sets the log file (empty turns logging off).
void SetLogFile(const std::string& path);
std::string LogFile();

// Rotates base + ".dbg" -> "1.dbg" -> "2.dbg" -> "3.dbg" in folder (the oldest is dropped)
// and makes folder + base + ".dbg" the log file.
void StartLog(const std::string& folder, const std::string& base);

} // namespace olv
