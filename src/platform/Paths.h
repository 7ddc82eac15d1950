#pragma once

#include <chrono>
#include <string>

namespace olv {

// The program folder: where every data file is opened by its bare name. Always ends in '/'.
// Until set it is the current folder.
std::string ProgramFolder();
void SetProgramFolder(const std::string& folder);

// The running program's file name ("olvenar"); names the log and registry keys.
std::string ProgramFileName();
void SetProgramFileName(const std::string& name);

// Per-user program folder: OLVENAR_HOME, else $XDG_DATA_HOME/olvenar, else ~/.local/share/olvenar.
std::string DefaultProgramFolder();

// Per-user settings folder: OLVENAR_CONFIG_DIR, else $XDG_CONFIG_HOME/HalvernWorks,
// else ~/.config/HalvernWorks.
std::string ConfigFolder();

// The user's XDG configuration folder ($XDG_CONFIG_HOME, else ~/.config).
std::string XdgConfigHome();

// Folder of the data files shipped with the program (catalogue, scripts, help).
// OLVENAR_SHIPPED_DATA overrides; else ../share/olvenar beside the executable; else the
// source tree's data folder.
std::string ShippedDataFolder(const std::string& executablePath);

// Every running instance holds a shared lock on this file in its program folder.
inline constexpr const char* kInstanceLockName = "olvenar.lock";
// Temporary files left by a killed run are removed once they are this old.
inline constexpr std::chrono::minutes kLeftoverAge{5};

// Creates the program folder when missing, copies in every shipped file that is missing there
// (never replacing the user's or the updater's copy), makes it the current folder and the
// program folder. Then joins the instances running there (kInstanceLockName, held until the
// program ends); when none other runs, removes what killed runs left: temporary files of
// saves ("*.chl.XXXXXX") and downloaded pages ("123.html") older than kLeftoverAge. Returns an
// empty text, or why it failed.
std::string PrepareProgramFolder(const std::string& folder, const std::string& shippedFolder);

// True when path names a file inside folder (after resolving "..", symbolic links and the
// current folder). The file itself need not exist.
bool IsInsideFolder(const std::string& path, const std::string& folder);

// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

} // namespace olv
