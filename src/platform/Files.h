#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace olv {

bool FileExists(const std::string& path);

// Reads the whole file into text. Returns false when the file cannot be opened;
// throws std::system_error when reading an opened file fails.
bool ReadWholeFile(const std::string& path, std::string& text);

// Splits text into lines; CR LF, LF and a lone CR all end a line. A final line without
// a line end is kept; a final line end does not add an empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Writes text to a temporary file (path + ".XXXXXX") beside path and renames it over path, so
// that the file is always either the old or the new one, even after a crash or a full disk. A
// symbolic link is written through to its target and stays a link. A new file gets
// newFileMode; an existing one keeps its mode. Throws std::system_error on failure, leaving
// the old file untouched and no temporary file behind.
void SaveFileAtomically(const std::string& path, std::string_view text, mode_t newFileMode = 0644);

// The file that path stands for: symbolic links in its last part followed, also to a target
// that does not exist yet. A path that is no link comes back as it is.
std::string LinkTarget(const std::string& path);

// True when name is a temporary file of SaveFileAtomically: a file name followed by "." and
// six letters or digits. base receives that file name.
bool IsSaveTempName(std::string_view name, std::string_view& base);

// The folder part of a path including its trailing '/', or "" when there is none.
std::string FolderOf(const std::string& path);

} // namespace olv
