#include "app/dialogs/TReadOptionsForm.h"

#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/Prompter.h"
#include "report/TalkDataClass.h"
#include "weather/MyCitiesClass.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

namespace olv {
namespace {

struct OptionBox {
    const char* objectName;
    const char* caption;
    bool TalkDataClass::*option;
    int column;
};

// Left column: time, temperature, humidity, dew point, forecast; right: the rest.
constexpr OptionBox kBoxes[] = {
    {"ConditionsTimeCB", "T&ime conditions were updated", &TalkDataClass::ReadConditionsTime, 0},
    {"TemperatureCB", "&Temperature", &TalkDataClass::ReadTemperature, 0},
    {"HumidityCB", "&Humidity", &TalkDataClass::ReadHumidity, 0},
    {"DewPointCB", "&Dewpoint", &TalkDataClass::ReadDewpoint, 0},
    {"ForecastCB", "Read &Forecast", &TalkDataClass::ReadForecast, 0},
    {"WindCB", "&Winds", &TalkDataClass::ReadWind, 1},
    {"PressureCB", "&Pressure", &TalkDataClass::ReadPressure, 1},
    {"ConditionsCB", "Co&nditions", &TalkDataClass::ReadConditions, 1},
    {"VisibilityCB", "&Visibility", &TalkDataClass::ReadVisibility, 1},
    {"ForecastTimeCB", "Time Forecast was &updated", &TalkDataClass::ReadForecastTime, 1},
};

const QString kDefaultDescription = QStringLiteral(
    "This window defines your default Read Options.  Read Options define which weather "
    "elements are spoken when reading weather data.  The default Read Options will be used "
    "whenever reading from the global city listing, and will be the default values for reading "
    "from the My Cities lising as well as automatic readings.  For both My Cities and "
    "Automatic reading you can override their particular settings on a City by City basis.");

} // namespace

TReadOptionsForm::TReadOptionsForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Read Options..."));
    descriptionLabel_ = new QLabel(this);
    descriptionLabel_->setWordWrap(true);
    cityNameLabel_ = new QLabel(this);
    cityNameLabel_->setObjectName(QStringLiteral("CityNameLabel"));
    QFont bold = cityNameLabel_->font();
    bold.setBold(true);
    cityNameLabel_->setFont(bold);

    auto* grid = new QGridLayout;
    int rows[2] = {0, 0};
    for (const OptionBox& box : kBoxes) {
        auto* check = new QCheckBox(QString::fromLatin1(box.caption), this);
        check->setObjectName(QString::fromLatin1(box.objectName));
        grid->addWidget(check, rows[box.column]++, box.column);
        boxes_.emplace_back(check, box.option);
    }
    // The boxes were made down the left column and then down the right one, which is also
    // the order of the Tab key.
    forecastCB_ = findChild<QCheckBox*>(QStringLiteral("ForecastCB"));
    forecastTimeCB_ = findChild<QCheckBox*>(QStringLiteral("ForecastTimeCB"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TReadOptionsForm::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(descriptionLabel_);
    layout->addWidget(cityNameLabel_);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(buttons);
    resize(520, 330);
}

void TReadOptionsForm::Prepare(TalkDataClass& talkData, Mode mode, bool showForecastItems) {
    talkData_ = &talkData;
    mode_ = mode;
    const QString section = Latin1(talkData.SectionName);
    switch (mode) {
    case DefaultMode:
        descriptionLabel_->setText(kDefaultDescription);
        cityNameLabel_->hide();
        break;
    case CityMode: {
        // The summary's section, "Summary", is not a city key: shown as it is, not as
        // "Summary, , " with the empty parts of a key.
        const std::string& key = talkData.SectionName;
        const QString location =
            Latin1(key.find('|') == std::string::npos ? key : MyCitiesClass::DisplayNameOf(key));
        descriptionLabel_->setText(
            QStringLiteral("This window defines Read Options for the location: ") + location +
            QStringLiteral(".  This will define which weather elements to read whenever you "
                           "read this city from the MyCities List.  These settings will also be "
                           "the defaults for any automatic readings you create for this city, "
                           "although you will have the option to override these for automatic "
                           "reading items."));
        cityNameLabel_->setText(QStringLiteral("City: ") + location);
        cityNameLabel_->show();
        break;
    }
    case AutoItemMode:
        descriptionLabel_->setText(
            QStringLiteral("This window defines read options for the Auto Read Item: ") + section +
            QStringLiteral(".  This will define which weather elements to read whenever this "
                           "item is automatically read."));
        cityNameLabel_->setText(QStringLiteral("Auto Read Item: ") + section);
        cityNameLabel_->show();
        break;
    }
    for (const auto& [check, option] : boxes_)
        check->setChecked(talkData.*option);
    forecastCB_->setVisible(showForecastItems);
    forecastTimeCB_->setVisible(showForecastItems);
}

bool TReadOptionsForm::Execute(TalkDataClass& talkData, Mode mode, bool showForecastItems) {
    Prepare(talkData, mode, showForecastItems);
    return exec() == QDialog::Accepted;
}

void TReadOptionsForm::Save() {
    // The options change only once they are on disk, so a failed save leaves them as they were.
    TalkDataClass edited = *talkData_;
    for (const auto& [check, option] : boxes_)
        edited.*option = check->isChecked();
    try {
        edited.Save();
    } catch (const std::exception& error) {
        Tell(this, QStringLiteral("The read options could not be saved: ") + Latin1(error.what()));
        return;
    }
    *talkData_ = edited;
    accept();
}

bool TReadOptionsForm::EditDefaults(TalkDataClass& defaults) {
    return Execute(defaults, DefaultMode, true);
}

bool TReadOptionsForm::EditCity(const std::string& cityKey) {
    if (cityKey.empty()) {
        Tell(parentWidget(), QStringLiteral("Please select a city from the list."));
        return false;
    }
    TalkDataClass options;
    options.Load(cityKey, "", TalkDataClass::CityMode);
    return Execute(options, CityMode, false);
}

bool TReadOptionsForm::EditSummary() {
    TalkDataClass options;
    options.Load("", "Summary", TalkDataClass::SummaryMode);
    return Execute(options, CityMode, false);
}

bool TReadOptionsForm::EditAutoItem(const std::string& cityKey, const std::string& itemName) {
    TalkDataClass options;
    options.Load(cityKey, itemName, TalkDataClass::AutoItemMode);
    return Execute(options, AutoItemMode, true);
}

QString TReadOptionsForm::Description() const {
    return descriptionLabel_->text();
}

QString TReadOptionsForm::CityCaption() const {
    return cityNameLabel_->text();
}

bool TReadOptionsForm::CityCaptionShown() const {
    return !cityNameLabel_->isHidden();
}

} // namespace olv
