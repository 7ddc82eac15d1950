#pragma once

// Small things every dialog needs at the edge between the Latin-1 core and Qt.

#include <QApplication>
#include <QString>
#include <string>
#include <string_view>

namespace olv {

inline QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// Characters outside Latin-1 become '?', as the core cannot hold them.
inline std::string ToLatin1(const QString& text) {
    return text.toLatin1().toStdString();
}

// The busy cursor while a slow step runs (reading a voice's limits, saving the voices).
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace olv
