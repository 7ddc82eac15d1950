#include "app/dialogs/Prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace olv {
namespace {

const QString kTitle = QStringLiteral("Olvenar");

QWidget* Over(QWidget* parent) {
    return parent != nullptr ? parent : QApplication::activeWindow();
}

class MessageBoxPrompter final : public Prompter {
public:
    void Tell(QWidget* parent, const QString& text) override {
        QMessageBox::information(Over(parent), kTitle, text);
    }
    bool AskYesNo(QWidget* parent, const QString& question) override {
        return QMessageBox::question(Over(parent), kTitle, question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
};

MessageBoxPrompter& MessageBoxes() {
    static MessageBoxPrompter prompter;
    return prompter;
}

Prompter*& Installed() {
    static Prompter* prompter = nullptr;
    return prompter;
}

} // namespace

Prompter& Prompter::Current() {
    Prompter* prompter = Installed();
    return prompter != nullptr ? *prompter : MessageBoxes();
}

Prompter* Prompter::Install(Prompter* prompter) {
    return std::exchange(Installed(), prompter);
}

void Tell(QWidget* parent, const QString& text) {
    Prompter::Current().Tell(parent, text);
}

bool AskYesNo(QWidget* parent, const QString& question) {
    return Prompter::Current().AskYesNo(parent, question);
}

void TellLatin1(QWidget* parent, const std::string& text) {
    Tell(parent, QString::fromLatin1(text.data(), qsizetype(text.size())));
}

bool AskYesNoLatin1(QWidget* parent, const std::string& question) {
    return AskYesNo(parent, QString::fromLatin1(question.data(), qsizetype(question.size())));
}

} // namespace olv
