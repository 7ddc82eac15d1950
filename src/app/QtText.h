#pragma once

#include <QString>
#include <string>

namespace olv {

// The core's texts are Latin-1; widgets meet them here.
inline QString ToQt(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), qsizetype(latin1.size()));
}

inline std::string FromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace olv
