#include "app/MainPanel.h"

#include "app/CityDisplay.h"
#include "app/ElidedLabel.h"
#include "app/QtText.h"
#include "app/TCompass.h"
#include "app/TThermometer.h"
#include "app/WidgetParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace olv {
namespace {

QString ForecastHtml(const CityDisplay& city) {
    QString html = QStringLiteral("<p>Forecast Updated %1</p><p></p>")
                       .arg(ToQt(city.ForecastTime).toHtmlEscaped());
    for (const CityDisplay::Period& period : city.Forecast)
        html += QStringLiteral("<p><b>%1</b> %2</p>")
                    .arg(ToQt(period.Header).toHtmlEscaped(), ToQt(period.Text).toHtmlEscaped());
    return html;
}

} // namespace

MainPanel::MainPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MainPanel"));
    caption_ = new ElidedLabel(this);
    caption_->setObjectName(QStringLiteral("LocationCaption"));
    caption_->setProperty("role", QStringLiteral("value"));
    caption_->setAccessibleDescription(QStringLiteral("Location"));
    caption_->setMinimumWidth(120);
    buttons_.MyCitiesToggle = WidgetParts::Button(this, QStringLiteral("Show MyCities"));
    buttons_.GlobalToggle = WidgetParts::Button(this, QStringLiteral("Show Global Locations"));
    buttons_.TopHelp =
        WidgetParts::Button(this, QStringLiteral("Help"), QStringLiteral("Audio Help: Overview"));

    auto* top = new QHBoxLayout;
    top->addWidget(caption_, 1);
    top->addWidget(buttons_.MyCitiesToggle);
    top->addWidget(buttons_.GlobalToggle);
    top->addWidget(buttons_.TopHelp);

    thermometer_ = new TThermometer(this);
    compass_ = new TCompass(this);

    auto* values = new QGridLayout;
    values->setHorizontalSpacing(8);
    values->setVerticalSpacing(2);
    humidity_ = AddValue(values, 0, 0, QStringLiteral("Humidity"));
    dewPoint_ = AddValue(values, 1, 0, QStringLiteral("Dew Point"));
    pressure_ = AddValue(values, 2, 0, QStringLiteral("Pressure"));
    visibility_ = AddValue(values, 3, 0, QStringLiteral("Visibility"));
    conditions_ = AddValue(values, 4, 0, QStringLiteral("Conditions"));
    time_ = AddValue(values, 5, 0, QStringLiteral("Updated"));
    conditions_->setWordWrap(true);
    // A flat button that looks like a link: a tab stop that Space and Enter open.
    pageLink_ = WidgetParts::Button(this, QStringLiteral("View the weather page"));
    pageLink_->setObjectName(QStringLiteral("PageLink"));
    pageLink_->setFlat(true);
    pageLink_->setCursor(Qt::PointingHandCursor);
    connect(pageLink_, &QPushButton::clicked, this, &MainPanel::PageLinkActivated);
    values->addWidget(pageLink_, 6, 0, 1, 2);
    values->setRowStretch(7, 1);

    forecast_ = new QTextBrowser(this);
    forecast_->setOpenLinks(false);
    forecast_->setAccessibleName(QStringLiteral("Forecast"));
    forecast_->setTabChangesFocus(true);
    forecast_->setMinimumWidth(160);

    auto* middle = new QHBoxLayout;
    middle->addWidget(thermometer_);
    middle->addWidget(compass_, 0, Qt::AlignTop);
    middle->addLayout(values);
    middle->addWidget(forecast_, 1);

    buttons_.Pause = WidgetParts::Button(this, QStringLiteral("Pause"));
    buttons_.Stop = WidgetParts::Button(this, QStringLiteral("Stop"));
    buttons_.Update = WidgetParts::Button(this, QStringLiteral("Update"));
    buttons_.Conditions = WidgetParts::Button(this, QStringLiteral("Conditions"));
    buttons_.Forecast = WidgetParts::Button(this, QStringLiteral(" Forecast"));
    buttons_.Random = WidgetParts::Button(this, QStringLiteral(" Random"));
    buttons_.MainHelp = WidgetParts::Button(this, QStringLiteral("Help"),
                                            QStringLiteral("Audio Help: Main Window Area"));
    QHBoxLayout* row =
        WidgetParts::ButtonRow({buttons_.Pause, buttons_.Stop, buttons_.Update, buttons_.Conditions,
                                buttons_.Forecast, buttons_.Random},
                               buttons_.MainHelp);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(row);

    // Reading order: caption strip, gauges, values, forecast, then the commands.
    setTabOrder(buttons_.MyCitiesToggle, buttons_.GlobalToggle);
    setTabOrder(buttons_.GlobalToggle, buttons_.TopHelp);
    setTabOrder(buttons_.TopHelp, pageLink_);
    setTabOrder(pageLink_, forecast_);
    setTabOrder(forecast_, buttons_.Pause);
    SetUnitCaptions(false);
    SetColours(palette().color(QPalette::WindowText), palette().color(QPalette::Link));
    Clear();
}

// A value label keeps its text as its accessible name (a screen reader reads the value) and
// says what it is in its description and through its caption, which is its buddy.
QLabel* MainPanel::AddValue(QGridLayout* grid, int row, int column, const QString& caption) {
    auto* name = new QLabel(caption + QLatin1Char(':'), this);
    name->setProperty("role", QStringLiteral("caption"));
    name->setObjectName(caption);
    auto* value = new QLabel(this);
    value->setProperty("role", QStringLiteral("value"));
    value->setAccessibleDescription(caption);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    name->setBuddy(value);
    grid->addWidget(name, row, column);
    grid->addWidget(value, row, column + 1);
    values_.append(qMakePair(name, value));
    return value;
}

void MainPanel::SetUnitCaptions(bool metric) {
    const auto caption = [this](const char* name, const QString& text) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)))
            label->setText(text);
    };
    caption("Humidity", QStringLiteral("Humidity (%):"));
    caption("Dew Point", metric ? QStringLiteral("Dew Point (\u00B0C):")
                                : QStringLiteral("Dew Point (\u00B0F):"));
    caption("Pressure",
            metric ? QStringLiteral("Pressure (hPa):") : QStringLiteral("Pressure (in):"));
    caption("Visibility",
            metric ? QStringLiteral("Visibility (km):") : QStringLiteral("Visibility (mi):"));
    for (const auto& [name, value] : values_)
        value->setAccessibleDescription(name->text().chopped(1));
}

void MainPanel::SetValue(QLabel* label, const std::string& text) {
    label->setText(ToQt(text));
}

void MainPanel::ShowCity(const CityDisplay& city) {
    caption_->SetFullText(ToQt(city.Caption));
    SetValue(humidity_, city.Humidity);
    SetValue(dewPoint_, city.DewPoint);
    SetValue(pressure_, city.Pressure);
    SetValue(visibility_, city.Visibility);
    SetValue(conditions_, city.Conditions);
    SetValue(time_, city.ConditionsTime);
    thermometer_->SetTarget(city.Temperature, city.TemperatureKnown);
    compass_->SetWind(ToQt(city.WindDirection), ToQt(city.WindSpeed));
    forecast_->setHtml(ForecastHtml(city));
    forecast_->verticalScrollBar()->setValue(0);
}

void MainPanel::Clear() {
    for (const auto& pair : values_)
        pair.second->clear();
    thermometer_->SetValue(0);
    thermometer_->SetTarget(0, false);
    compass_->SetBearing(0);
    compass_->SetWind(QString(), QStringLiteral("0"));
    forecast_->clear();
}

void MainPanel::SetMetric(bool metric) {
    thermometer_->SetMetric(metric);
    compass_->SetMetric(metric);
    SetUnitCaptions(metric);
}

void MainPanel::SetColours(const QColor& captions, const QColor& values) {
    for (QWidget* gauge : {static_cast<QWidget*>(thermometer_), static_cast<QWidget*>(compass_)}) {
        QPalette colours = gauge->palette();
        colours.setColor(QPalette::WindowText, captions);
        gauge->setPalette(colours);
    }
    QPalette link = pageLink_->palette();
    link.setColor(QPalette::ButtonText, values);
    pageLink_->setPalette(link);
}

void MainPanel::SetGauges(int temperature, double bearing) {
    thermometer_->SetValue(temperature);
    compass_->SetBearing(bearing);
}

void MainPanel::SetPaused(bool paused) {
    buttons_.Pause->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
}

void MainPanel::SetViewButtons(bool myCitiesShown, bool globalShown) {
    buttons_.MyCitiesToggle->setText(myCitiesShown ? QStringLiteral("Hide MyCities")
                                                   : QStringLiteral("Show MyCities"));
    buttons_.GlobalToggle->setText(globalShown ? QStringLiteral("Hide Global Locations")
                                               : QStringLiteral("Show Global Locations"));
}

QString MainPanel::Caption() const {
    return caption_->FullText();
}

QString MainPanel::ValueText(const QString& caption) const {
    for (const auto& [name, value] : values_)
        if (name->objectName() == caption)
            return value->text();
    return QString();
}

QString MainPanel::ForecastPlainText() const {
    return forecast_->toPlainText();
}

} // namespace olv
