#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;

namespace olv {

class TalkDataClass;

// Which weather items are read: the default options, one My City's, the My Cities summary's or
// one auto-read item's, each a section of "TalkData.chl". OK saves the section and only then
// changes the edited options; Cancel changes nothing. One form serves every opener: each sets
// the mode afresh.
class TReadOptionsForm : public QDialog {
    Q_OBJECT

public:
    // What the options belong to; the summary's options use CityMode.
    enum Mode : uint8_t { DefaultMode = 0, CityMode = 1, AutoItemMode = 2 };

    explicit TReadOptionsForm(QWidget* parent = nullptr);

    // Sets the form up for talkData (not owned; it must outlive the form's use of it).
    void Prepare(TalkDataClass& talkData, Mode mode, bool showForecastItems);
    // Prepare, then modal; true when OK saved the options.
    bool Execute(TalkDataClass& talkData, Mode mode, bool showForecastItems);

    // The openers of the program. EditDefaults edits the window's own default options, which
    // are in effect at once after OK; the others load and save options of their own.
    bool EditDefaults(TalkDataClass& defaults);
    // Shows "Please select a city from the list." for an empty key.
    bool EditCity(const std::string& cityKey);
    bool EditSummary();
    bool EditAutoItem(const std::string& cityKey, const std::string& itemName);

    QString Description() const;
    QString CityCaption() const;
    bool CityCaptionShown() const;

private:
    void Save();

    TalkDataClass* talkData_ = nullptr;
    Mode mode_ = DefaultMode;
    QLabel* descriptionLabel_ = nullptr;
    QLabel* cityNameLabel_ = nullptr;
    QCheckBox* forecastCB_ = nullptr;
    QCheckBox* forecastTimeCB_ = nullptr;
    std::vector<std::pair<QCheckBox*, bool TalkDataClass::*>> boxes_;
};

} // namespace olv
