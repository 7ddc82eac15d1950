#pragma once

#include <QWidget>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace olv {

class LocationListClass;

// The global locations view's area: region, sub-region and city lists, or in ZIP mode (the
// region "United States (by Zip Code)") the ZIP code field; its buttons and context menu.
class GlobalArea : public QWidget {
    Q_OBJECT
public:
    struct Buttons {
        QPushButton* Retrieve;
        QPushButton* Conditions;
        QPushButton* Forecast;
        QPushButton* AddToMyCities;
        QPushButton* DefaultOptions;
        QPushButton* LookUpZip;
        QPushButton* Help;
    };
    struct Actions {
        QAction* Retrieve;
        QAction* ReadConditions;
        QAction* ReadForecast;
        QAction* AddToMyCities;
    };

    GlobalArea(const LocationListClass& locations, QWidget* parent = nullptr);

    const Buttons& Button() const { return buttons_; }
    const Actions& Action() const { return actions_; }

    // The stored region and sub-region. The lists are filled from the catalogue when the area is
    // first shown (reading it is the slowest part of a start), or by Load.
    void SetStoredIndices(int regionIndex, int stateIndex);
    // Fills the regions and selects the stored region and sub-region (out of range: the first).
    void Load();
    // The region and sub-region chosen; the stored ones while the lists are not filled yet.
    int RegionIndex() const;
    int StateIndex() const;
    bool IsZipMode() const;

    // The key of the city chosen, or empty with the reason in problem ("Invalid Zip Code
    // Entered", "Please select a city from the list.").
    std::string SelectedKey(std::string& problem) const;

    QComboBox& Regions() const { return *regions_; }
    QComboBox& States() const { return *states_; }
    QListWidget& Cities() const { return *cities_; }
    QLineEdit& ZipField() const { return *zip_; }

signals:
    // The city list was activated (double click, Enter).
    void CityActivated();
    // The catalogue could not be read.
    void Problem(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RegionChanged();
    void FillCities();
    void SetZipMode(bool zipMode);

    const LocationListClass& locations_;
    QComboBox* regions_;
    QComboBox* states_;
    QListWidget* cities_;
    QLineEdit* zip_;
    QLabel* stateLabel_;
    QLabel* citiesLabel_;
    QLabel* zipLabel_;
    Buttons buttons_{};
    Actions actions_{};
    int storedRegion_ = 0;
    int storedState_ = 0;
    bool loaded_ = false;
};

} // namespace olv
