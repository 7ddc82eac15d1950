#pragma once

#include <QWidget>

namespace olv {

// A compass rose with a needle at the wind's bearing, the direction and the speed in its
// middle. Its accessible name tells the wind of the city shown ("Wind NW at 10 MPH").
class TCompass : public QWidget {
    Q_OBJECT
public:
    explicit TCompass(QWidget* parent = nullptr);

    void SetMetric(bool metric);
    QString Unit() const { return metric_ ? QStringLiteral("KMH") : QStringLiteral("MPH"); }
    void SetBearing(double degrees);
    double Bearing() const { return bearing_; }
    // The wind shown in the middle; names the gauge for screen readers.
    void SetWind(const QString& direction, const QString& speed);
    QString Speed() const { return speed_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Announce();

    bool metric_ = false;
    double bearing_ = 0;
    QString direction_;
    QString speed_ = QStringLiteral("0");
};

} // namespace olv
