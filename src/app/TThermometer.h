#pragma once

#include <QWidget>

namespace olv {

// A thermometer drawn as a tube on a scale: -20 to 120 in Fahrenheit, -20 to 60 in Celsius.
// Its accessible name tells the temperature of the city shown ("Temperature 45 degrees"),
// not the value it passes while it moves there.
class TThermometer : public QWidget {
    Q_OBJECT
public:
    explicit TThermometer(QWidget* parent = nullptr);

    void SetMetric(bool metric);
    bool Metric() const { return metric_; }
    int Minimum() const { return -20; }
    int Maximum() const { return metric_ ? 60 : 120; }
    QString Unit() const;

    void SetValue(int value);
    int Value() const { return value_; }
    // The temperature the gauge moves to; names the gauge for screen readers.
    void SetTarget(int target, bool known);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool metric_ = false;
    bool known_ = false;
    int value_ = 0;
};

} // namespace olv
