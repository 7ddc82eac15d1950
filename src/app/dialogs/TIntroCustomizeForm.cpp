#include "app/dialogs/TIntroCustomizeForm.h"

#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/Prompter.h"
#include "report/IntroClass.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <exception>

namespace olv {
namespace {

const struct {
    const char* objectName;
    const char* caption;
    std::string IntroClass::*phrase;
} kFields[] = {
    {"ConditionsIntroEdit", "Current &Stats Introduction", &IntroClass::ConditionsIntro},
    {"TemperatureEdit", "&Temperature Introduction", &IntroClass::Temperature},
    {"HumidityEdit", "&Humidity Introduction", &IntroClass::Humidity},
    {"DewpointEdit", "&Dewpoint Intruductions", &IntroClass::Dewpoint},
    {"PressureEdit", "&Pressure Introduction", &IntroClass::Pressure},
    {"WindEdit", "&Wind Introduction", &IntroClass::Wind},
    {"ConditionsEdit", "Co&nditions Introduction", &IntroClass::Conditions},
    {"VisibilityEdit", "&Visibility Introduction", &IntroClass::Visibility},
    {"ForecastEdit", "&Forecast Introduction", &IntroClass::Forecast},
};

} // namespace

TIntroCustomizeForm::TIntroCustomizeForm(IntroClass& intro, QWidget* parent)
    : QDialog(parent), intro_(intro) {
    setWindowTitle(QStringLiteral("Customizing Introductory Phrases"));
    auto* description = new QLabel(
        QStringLiteral("This window allows you to customize the Olvenar Introductory Phrases.  "
                       "These phrases are spoken before the individual elements of weather data "
                       "are read."),
        this);
    description->setWordWrap(true);
    auto* form = new QFormLayout;
    for (const auto& field : kFields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(field.objectName));
        edit->setMinimumWidth(260);
        form->addRow(QString::fromLatin1(field.caption), edit);
        edits_.emplace_back(edit, field.phrase);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TIntroCustomizeForm::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TIntroCustomizeForm::showEvent(QShowEvent* event) {
    Prepare();
    QDialog::showEvent(event);
}

void TIntroCustomizeForm::Prepare() {
    intro_.Load();
    for (const auto& [edit, phrase] : edits_)
        edit->setText(Latin1(intro_.*phrase));
}

void TIntroCustomizeForm::Save() {
    // The phrases change only once they are on disk, so a failed save leaves them as they were.
    IntroClass edited = intro_;
    for (const auto& [edit, phrase] : edits_)
        edited.*phrase = ToLatin1(edit->text());
    try {
        edited.Save();
    } catch (const std::exception& error) {
        Tell(this, QStringLiteral("The introductory phrases could not be saved: ") +
                       Latin1(error.what()));
        return;
    }
    intro_ = edited;
    accept();
}

} // namespace olv
