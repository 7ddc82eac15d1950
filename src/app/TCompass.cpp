#include "app/TCompass.h"

#include "app/WidgetParts.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>

namespace olv {

TCompass::TCompass(QWidget* parent) : QWidget(parent) {
    setMinimumSize(110, 110);
    WidgetParts::ShowAsPicture(this);
    Announce();
}

QSize TCompass::sizeHint() const {
    return {124, 124};
}

void TCompass::SetMetric(bool metric) {
    metric_ = metric;
    Announce();
    update();
}

void TCompass::SetBearing(double degrees) {
    if (qFuzzyCompare(degrees + 1, bearing_ + 1))
        return;
    bearing_ = degrees;
    update();
}

void TCompass::SetWind(const QString& direction, const QString& speed) {
    direction_ = direction;
    speed_ = speed;
    Announce();
    update();
}

void TCompass::Announce() {
    const QString name = direction_.isEmpty()
                             ? QStringLiteral("Wind %1 %2").arg(speed_, Unit())
                             : QStringLiteral("Wind %1 at %2 %3").arg(direction_, speed_, Unit());
    setAccessibleName(name);
}

void TCompass::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    const double side = std::min(width(), height()) - 4.0;
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double radius = side / 2.0;

    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawEllipse(centre, radius, radius);

    const char* const points[] = {"N", "E", "S", "W"};
    const int letterSize = fontMetrics().height();
    for (int i = 0; i < 4; ++i) {
        const double angle = qDegreesToRadians(i * 90.0);
        const QPointF at(centre.x() + std::sin(angle) * (radius - letterSize * 0.6),
                         centre.y() - std::cos(angle) * (radius - letterSize * 0.6));
        painter.drawText(
            QRectF(at.x() - letterSize, at.y() - letterSize / 2.0, letterSize * 2, letterSize),
            Qt::AlignCenter, QString::fromLatin1(points[i]));
    }

    // The needle points where the wind comes from.
    painter.save();
    painter.translate(centre);
    painter.rotate(bearing_);
    QPainterPath needle;
    needle.moveTo(0, -(radius - letterSize * 1.2));
    needle.lineTo(5, -radius * 0.35);
    needle.lineTo(-5, -radius * 0.35);
    needle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(210, 30, 30));
    painter.drawPath(needle);
    painter.restore();

    painter.setPen(ink);
    const QRectF middle(centre.x() - radius * 0.6, centre.y() - letterSize, radius * 1.2,
                        letterSize * 2.0);
    painter.drawText(middle, Qt::AlignCenter,
                     (direction_.isEmpty() ? QString() : direction_ + QLatin1Char('\n')) + speed_ +
                         QLatin1Char(' ') + Unit());
}

} // namespace olv
