#pragma once

#include <QUrl>
#include <functional>
#include <string>

namespace olv {

// Opens web pages, mail links and the program folder's HTML files in the user's own programs
// (QDesktopServices). Tests replace the opener, so that nothing is launched.
class Browser {
public:
    using Opener = std::function<bool(const QUrl&)>;

    static bool Open(const QUrl& url);
    static bool OpenPage(const std::string& address);
    // A file of the program folder ("help/index.html", "QuickStart.html").
    static bool OpenProgramFile(const std::string& fileName);
    // An address, or the local help when there is none.
    static bool OpenPageOrHelp(const std::string& address);

    // Returns the previous opener; an empty one restores QDesktopServices.
    static Opener SetOpener(Opener opener);
};

} // namespace olv
