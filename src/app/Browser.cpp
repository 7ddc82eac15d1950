#include "app/Browser.h"

#include "app/QtText.h"
#include "app/WebPages.h"
#include "platform/Paths.h"
#include "util/Log.h"

#include <QDesktopServices>
#include <utility>

namespace olv {
namespace {
Browser::Opener& CurrentOpener() {
    static Browser::Opener opener;
    return opener;
}
} // namespace

bool Browser::Open(const QUrl& url) {
    Log("Opening " + FromQt(url.toString()));
    const Opener& opener = CurrentOpener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

bool Browser::OpenPage(const std::string& address) {
    return Open(QUrl(ToQt(address)));
}

bool Browser::OpenProgramFile(const std::string& fileName) {
    return Open(QUrl::fromLocalFile(ToQt(ProgramFolder() + fileName)));
}

bool Browser::OpenPageOrHelp(const std::string& address) {
    return address.empty() ? OpenProgramFile(web::kLocalHelp) : OpenPage(address);
}

Browser::Opener Browser::SetOpener(Opener opener) {
    return std::exchange(CurrentOpener(), std::move(opener));
}

} // namespace olv
