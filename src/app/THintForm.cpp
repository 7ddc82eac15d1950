#include "app/THintForm.h"

#include "app/QtText.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace olv {
namespace {
const QColor kBackground(248, 250, 146);
constexpr int kTextPixels = 11;
} // namespace

THintForm::THintForm(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("OVHintForm"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    QFont small = font();
    small.setPixelSize(kTextPixels);
    setFont(small);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
}

std::vector<THintForm::Row> THintForm::Layout(const std::vector<MyCitiesRow>& cities) {
    std::vector<Row> rows;
    for (size_t i = 0; i < cities.size(); ++i) {
        const MyCitiesRow& city = cities[i];
        std::string temperature = city.Temperature + "\xB0";
        if (temperature.size() < 5)
            temperature.insert(0, 5 - temperature.size(), ' ');
        rows.push_back({kFirstRow + kRowPitch * int(i), i % 2 == 1,
                        city.Caption.substr(0, city.Caption.find(',')), temperature,
                        city.Conditions});
    }
    return rows;
}

int THintForm::HeightFor(size_t rowCount) {
    return kFirstRow + kRowPitch * int(rowCount) + 5;
}

QPoint THintForm::Place(const QPoint& mouse, const QSize& size, const QRect& screen) {
    const int x = std::max(std::min(mouse.x(), screen.right() - kScreenMargin - size.width()),
                           screen.left() + kScreenMargin);
    const int y = std::max(std::min(mouse.y(), screen.bottom() - kScreenMargin - size.height()),
                           screen.top() + kScreenMargin);
    return {x, y};
}

void THintForm::Fill(const std::vector<MyCitiesRow>& cities) {
    rows_ = Layout(cities);
    int conditionsWidth = fontMetrics().horizontalAdvance(QStringLiteral("Conditions"));
    for (const Row& row : rows_)
        conditionsWidth =
            std::max(conditionsWidth, fontMetrics().horizontalAdvance(ToQt(row.Conditions)));
    setFixedSize(kConditionsX + conditionsWidth + 8, HeightFor(rows_.size()));
    update();
}

void THintForm::ShowAt(const QPoint& mouse) {
    const QScreen* screen = QGuiApplication::screenAt(mouse);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    move(Place(mouse, size(), screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768)));
    show();
    raise();
}

void THintForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont heading = font();
    heading.setPixelSize(kTextPixels - 2);
    heading.setBold(true);
    painter.setFont(heading);
    const int headingHeight = kFirstRow;
    painter.drawText(QRect(kCityX, 0, kTemperatureX, headingHeight), Qt::AlignVCenter,
                     QStringLiteral("City"));
    painter.drawText(QRect(kTemperatureX, 0, 40, headingHeight), Qt::AlignVCenter,
                     QStringLiteral("Temp"));
    painter.drawText(QRect(kConditionsX, 0, width(), headingHeight), Qt::AlignVCenter,
                     QStringLiteral("Conditions"));
    painter.setFont(font());
    for (const Row& row : rows_) {
        if (row.Band)
            painter.fillRect(QRect(0, row.Y, width(), kRowPitch), Qt::white);
        const QRect line(0, row.Y, width(), kRowPitch);
        painter.drawText(line.adjusted(kCityX, 0, 0, 0), Qt::AlignVCenter, ToQt(row.City));
        painter.drawText(line.adjusted(kTemperatureX, 0, 0, 0), Qt::AlignVCenter,
                         ToQt(row.Temperature));
        painter.drawText(line.adjusted(kConditionsX, 0, 0, 0), Qt::AlignVCenter,
                         ToQt(row.Conditions));
    }
}

void THintForm::mousePressEvent(QMouseEvent*) {
    close();
}

void THintForm::mouseMoveEvent(QMouseEvent*) {
    close();
}

} // namespace olv
