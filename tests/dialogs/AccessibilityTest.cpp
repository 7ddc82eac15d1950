// What every dialog owes a keyboard and screen-reader user: a name for every control that
// takes the focus, one Alt key per mnemonic, and a size that fits a 1024 x 768 screen. (The
// wizard's pages and the voice options the end-to-end tests read and drive by their Alt keys.)

#include "DialogTestSupport.h"
#include "app/dialogs/TAutoReadForm.h"
#include "app/dialogs/TBaseCancelDialogForm.h"
#include "app/dialogs/TEditAutoForm.h"
#include "app/dialogs/TIntroCustomizeForm.h"
#include "app/dialogs/TMyAudioDeviceDlg.h"
#include "app/dialogs/TOVLookForm.h"
#include "app/dialogs/TOlvenarPrefForm.h"
#include "app/dialogs/TReadOptionsForm.h"
#include "report/IntroClass.h"
#include "report/TalkDataClass.h"
#include "settings/OlvenarRegistryClass.h"

#include <QAccessible>
#include <QLabel>
#include <map>

namespace olv::test {
namespace {

// The letter after a single '&', or 0.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&'))
            return text[i + 1] == QLatin1Char('&') ? (++i, QChar()) : text[i + 1].toLower();
    }
    return {};
}

void ExpectUsable(QWidget& dialog, const std::string& what) {
    SCOPED_TRACE(what);
    dialog.show();
    QApplication::processEvents();
    EXPECT_LE(dialog.frameGeometry().width(), 1024);
    EXPECT_LE(dialog.frameGeometry().height(), 768 - 40); // a panel stays visible

    // Buttons, and labels that lead to a control, carry the mnemonics (tab and group titles
    // here have none).
    std::map<QChar, QString> owners;
    QStringList texts;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        texts << button->text();
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() != nullptr)
            texts << label->text();
    for (const QString& text : texts) {
        const QChar key = Mnemonic(text);
        const auto [at, fresh] = owners.emplace(key, text);
        EXPECT_TRUE(key.isNull() || fresh)
            << "Alt+" << QString(key).toStdString() << " for '" << at->second.toStdString()
            << "' and '" << text.toStdString() << "'";
    }

    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        // Tabs are named by their captions; a combo box's popup list by the combo box.
        if (!(control->focusPolicy() & Qt::TabFocus) || control->inherits("QTabWidget") ||
            control->inherits("QTabBar") || control->inherits("QComboBoxListView"))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        const bool named = !accessible->text(QAccessible::Name).trimmed().isEmpty() ||
                           !accessible->relations(QAccessible::Labelled).isEmpty();
        EXPECT_TRUE(named) << control->metaObject()->className() << " "
                           << control->objectName().toStdString();
    }
    dialog.hide();
}

class AccessibilityTest : public DialogFixture {};

TEST_F(AccessibilityTest, TheProgramsDialogsAreNamedHaveOneKeyPerMnemonicAndFitTheScreen) {
    WriteCatalogue();
    OlvenarRegistryClass settings(store);
    TOlvenarPrefForm preferences(settings); // (the wizard's pages the end-to-end tests read)
    preferences.SetWizardMode(false);
    ExpectUsable(preferences, "preferences");
    TReadOptionsForm readOptions;
    TalkDataClass talkData;
    readOptions.Prepare(talkData, TReadOptionsForm::DefaultMode, true);
    ExpectUsable(readOptions, "read options");
    IntroClass intro;
    TIntroCustomizeForm introForm(intro);
    ExpectUsable(introForm, "intro phrases");
    settings.LoadAll();
    TOVLookForm look(settings);
    ExpectUsable(look, "appearance");
    TMyAudioDeviceDlg devices;
    ExpectUsable(devices, "audio device");
    TAutoReadForm autoRead({"United States|Texas|Austin"}, {"Austin, Texas, United States"});
    ExpectUsable(autoRead, "automatic read settings");
    TEditAutoForm timing;
    AutoItemClass item;
    timing.Prepare(item, "");
    ExpectUsable(timing, "when to read");
    TBaseCancelDialogForm progress;
    progress.ShowMessage(QStringLiteral("Checking File Revisions..."));
    progress.SetProgress(QStringLiteral("Received 2048 of 9000."));
    ExpectUsable(progress, "update progress");
}

} // namespace
} // namespace olv::test
