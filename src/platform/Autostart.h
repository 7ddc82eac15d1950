#pragma once

#include <string>

namespace olv {

// The start-at-log-in entry: an XDG autostart file, $XDG_CONFIG_HOME/autostart/olvenar.desktop,
// that starts the program with "-auto". It stands in for the "Olvenar" value of the Windows
// "Run" key: present exactly when the AutoStart setting is on.

// Where the entry lives.
std::string AutostartEntryPath();
bool AutostartEntryExists();

// The running program's own path (from /proc/self/exe), or "" when it cannot be found.
std::string RunningProgramPath();

// The Exec= line's value: programPath quoted as the Desktop Entry rules require, then " -auto".
std::string AutostartExecValue(const std::string& programPath);

// Writes the entry (atomically, creating the autostart folder) for programPath, or removes it.
// Return "" on success, else a message for the user. Removing a missing entry succeeds.
std::string WriteAutostartEntry(const std::string& programPath);
std::string DeleteAutostartEntry();
// WriteAutostartEntry(RunningProgramPath()) when enabled, else DeleteAutostartEntry().
std::string SetAutostart(bool enabled);

} // namespace olv
