#pragma once

#include <QWidget>

class QGridLayout;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace olv {

struct CityDisplay;
class ElidedLabel;
class TCompass;
class TThermometer;

// The main panel: the location caption, the thermometer, the compass, the values of the
// current conditions, the forecast box, the link to the city's weather page and the buttons.
// It shows what it is given and holds no weather logic.
class MainPanel : public QWidget {
    Q_OBJECT
public:
    struct Buttons {
        QPushButton* TopHelp;
        QPushButton* MyCitiesToggle;
        QPushButton* GlobalToggle;
        QPushButton* Pause;
        QPushButton* Stop;
        QPushButton* Update;
        QPushButton* Conditions;
        QPushButton* Forecast;
        QPushButton* Random;
        QPushButton* MainHelp;
    };

    explicit MainPanel(QWidget* parent = nullptr);

    const Buttons& Button() const { return buttons_; }
    TThermometer& Thermometer() const { return *thermometer_; }
    TCompass& Compass() const { return *compass_; }

    // Values, captions and the forecast of a city; the gauges get their targets' names but
    // are moved by the animation (SetGauges).
    void ShowCity(const CityDisplay& city);
    // Empty values, gauges at 0, wind "0".
    void Clear();
    void SetMetric(bool metric);
    // The gauges are drawn in the colour of the captions, the page link in that of the values
    // (where no style sheet colours it).
    void SetColours(const QColor& captions, const QColor& values);
    void SetGauges(int temperature, double bearing);
    // "Pause" or, while paused, "Resume".
    void SetPaused(bool paused);
    // "Show MyCities" / "Hide MyCities" and "Show Global Locations" / "Hide Global Locations".
    void SetViewButtons(bool myCitiesShown, bool globalShown);

    QString Caption() const;
    QString ValueText(const QString& caption) const;
    QString ForecastPlainText() const;

signals:
    // The link to the city's weather page was chosen.
    void PageLinkActivated();

private:
    QLabel* AddValue(QGridLayout* grid, int row, int column, const QString& caption);
    void SetValue(QLabel* label, const std::string& text);
    void SetUnitCaptions(bool metric);

    Buttons buttons_{};
    ElidedLabel* caption_;
    TThermometer* thermometer_;
    TCompass* compass_;
    QLabel* humidity_;
    QLabel* dewPoint_;
    QLabel* pressure_;
    QLabel* visibility_;
    QLabel* conditions_;
    QLabel* time_;
    QPushButton* pageLink_;
    QTextBrowser* forecast_;
    // Each value with its caption label, which is its buddy.
    QList<QPair<QLabel*, QLabel*>> values_;
};

} // namespace olv
