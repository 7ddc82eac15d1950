#pragma once

#include "app/dialogs/TBasePrefForm.h"
#include "weather/LocationListClass.h"

#include <QUrl>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace olv {

class OlvenarRegistryClass;

// The program's preferences: a first-run wizard (welcome, Internet options, closest city,
// misc settings) and, later, a dialog with the tabs "Misc. Settings" and "Internet Options".
// Saving also keeps the start-at-log-in entry in step with "AutoStart", and the wizard adds
// the closest city to My Cities (once) and makes it "MainCityName".
//
// Start-up:  if (TOlvenarPrefForm::RunFirstRun(settings) == TOlvenarPrefForm::FirstRun::Cancelled)
//                quit;                                  // nothing was written
// Options:   TOlvenarPrefForm form(settings, window); form.SetWizardMode(false); form.exec();
class TOlvenarPrefForm : public TBasePrefForm {
    Q_OBJECT

public:
    static constexpr const char* kZipLookupAddress = "https://tools.usps.com/zip-code-lookup.htm";

    enum class FirstRun { NotNeeded, Finished, Cancelled };

    explicit TOlvenarPrefForm(OlvenarRegistryClass& settings, QWidget* parent = nullptr);

    // Runs the wizard when the first-run preferences were never saved. Cancelled: the user
    // chose to exit, and nothing was written.
    static FirstRun RunFirstRun(OlvenarRegistryClass& settings, QWidget* parent = nullptr);

    // The key of the city chosen on the city panel: "Region|State|City", or "ZIP:" + code;
    // empty when there is none to choose.
    std::string ChosenCityKey() const;

    // Opens a web page (the ZIP code lookup); the browser by default.
    std::function<void(const QUrl&)> OpenUrl;

protected:
    bool ValidatePanel(QWidget* panel) override;
    void LoadHook() override;
    void SaveHook() override;

private:
    QWidget* MakeIntroPanel();
    QWidget* MakeProxyPanel();
    QWidget* MakeCityPanel();
    QWidget* MakeMiscPanel();
    bool ZipRegionChosen() const;
    void FillRegions();
    void RegionChanged();
    void StateChanged();
    void AddToMyCities(const std::string& key);

    LocationListClass locations_;
    QWidget* cityPanel_ = nullptr;
    QComboBox* regionCombo_ = nullptr;
    QComboBox* stateCombo_ = nullptr;
    QComboBox* cityCombo_ = nullptr;
    QLabel* stateLabel_ = nullptr;
    QLabel* cityLabel_ = nullptr;
    QLabel* zipLabel_ = nullptr;
    QLineEdit* zipEdit_ = nullptr;
    QPushButton* lookUpButton_ = nullptr;
};

} // namespace olv
