#pragma once

#include <iosfwd>

namespace olv {

struct ReportOptions;

// olvenar-report --check-update: the program's silent update check, for cron and for people
// without the window, printing what it found and did. It acts for the window's program: the
// first-time marker and the answer to upgrade announcements are the window's.
//
// Questions are asked on the terminal when standard input is one. Without one, each takes the
// answer that changes nothing: a newer catalogue is reported and left, a newer program version
// is announced, and announcements stay on.
//
// Exit status: 0 when the check ran (whatever it found); 1 when there is no update server, or
// the manifest or a file could not be fetched or was refused.
int CheckUpdate(const ReportOptions& options, std::ostream& out, std::ostream& err);

} // namespace olv
