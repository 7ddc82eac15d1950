#pragma once

#include <string>
#include <string_view>

namespace olv {

// The user's documents folder, as the desktop names it: XDG_DOCUMENTS_DIR from the environment,
// else from "user-dirs.dirs" in the XDG configuration folder. Empty when neither names an
// existing folder. No trailing '/'.
std::string DocumentsFolder();

// Where spoken files go unless the user says otherwise: the documents folder, else the program
// folder's "AudioFiles" (created when missing), else a single blank (no folder at all).
std::string DefaultOutputDir();

// The folder a "user-dirs.dirs" text gives for name (XDG_DOCUMENTS_DIR="$HOME/Documents"), with
// "$HOME" expanded to home; empty when the name is not there or its value is not a path.
std::string UserDirsEntry(std::string_view fileText, std::string_view name,
                          const std::string& home);

} // namespace olv
