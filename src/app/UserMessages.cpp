#include "app/UserMessages.h"

#include <QMessageBox>

namespace olv {

void MessageBoxes::Inform(const std::string& text) {
    QMessageBox::information(parent_, QStringLiteral("Olvenar"), QString::fromLatin1(text));
}

bool MessageBoxes::Ask(const std::string& text) {
    return QMessageBox::question(parent_, QStringLiteral("Olvenar"), QString::fromLatin1(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace olv
