#include "app/TThermometer.h"

#include "app/WidgetParts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace olv {

TThermometer::TThermometer(QWidget* parent) : QWidget(parent) {
    setMinimumSize(54, 120);
    WidgetParts::ShowAsPicture(this);
    SetTarget(0, false);
}

QSize TThermometer::sizeHint() const {
    return {60, 130};
}

QString TThermometer::Unit() const {
    return metric_ ? QStringLiteral("\u00B0C") : QStringLiteral("\u00B0F");
}

void TThermometer::SetMetric(bool metric) {
    metric_ = metric;
    update();
}

void TThermometer::SetValue(int value) {
    if (value == value_)
        return;
    value_ = value;
    update();
}

void TThermometer::SetTarget(int target, bool known) {
    known_ = known;
    update();
    // (Qt tells screen readers when the name changes.)
    setAccessibleName(known ? QStringLiteral("Temperature %1 degrees").arg(target)
                            : QStringLiteral("Temperature unknown"));
}

void TThermometer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    const int textHeight = fontMetrics().height();
    const QRectF tube(width() / 2.0 - 6, 6, 12, height() - 24.0 - textHeight);
    const QRectF bulb(width() / 2.0 - 11, tube.bottom() - 4, 22, 22);

    QPainterPath glass;
    glass.addRoundedRect(tube, 6, 6);
    glass.addEllipse(bulb);
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawPath(glass.simplified());

    const double span = Maximum() - Minimum();
    const double share = std::clamp((value_ - Minimum()) / span, 0.0, 1.0);
    const double top = tube.bottom() - share * (tube.height() - 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(210, 30, 30));
    painter.drawRoundedRect(QRectF(tube.left() + 3, top, tube.width() - 6, tube.bottom() - top), 3,
                            3);
    painter.drawEllipse(bulb.adjusted(4, 4, -4, -4));

    painter.setPen(ink);
    for (int mark = Minimum(); mark <= Maximum(); mark += 20) {
        const double y = tube.bottom() - (mark - Minimum()) / span * (tube.height() - 8);
        painter.drawLine(QPointF(tube.right() + 2, y), QPointF(tube.right() + 6, y));
    }
    painter.drawText(QRectF(0, height() - textHeight - 1, width(), textHeight), Qt::AlignCenter,
                     (known_ ? QString::number(value_) : QStringLiteral("?")) + Unit());
}

} // namespace olv
