#include "app/TrayIcon.h"

#include "app/QtColour.h"
#include "app/QtText.h"
#include "settings/TBaseRegistryClass.h"
#include "util/Log.h"

#include <QCursor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace olv {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), menu_(new QMenu) {
    icon_ = new QSystemTrayIcon(this);
    actions_.DisplayWindow = menu_->addAction(QStringLiteral("&Display Window"));
    actions_.StopReading = menu_->addAction(QStringLiteral("&Stop Reading"));
    actions_.ReadConditions = menu_->addAction(QStringLiteral("Read Current &Conditions"));
    actions_.ReadForecast = menu_->addAction(QStringLiteral("Read Current &Forecast"));
    actions_.MyCityConditions = menu_->addMenu(QStringLiteral("Read &MyCity Conditions"));
    actions_.MyCityForecast = menu_->addMenu(QStringLiteral("Read M&yCity Forecast"));
    menu_->addSeparator();
    actions_.VisitHome = menu_->addAction(QStringLiteral("&Visit Olvenar Home"));
    actions_.Exit = menu_->addAction(QStringLiteral("&Exit"));
    icon_->setContextMenu(menu_);
    connect(actions_.DisplayWindow, &QAction::triggered, this, &TrayIcon::RestoreRequested);
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    emit RestoreRequested();
                else if (reason == QSystemTrayIcon::Trigger)
                    emit HintRequested(QCursor::pos());
            });
}

// The menu has no parent (a tray menu must be a top-level widget).
TrayIcon::~TrayIcon() {
    icon_->hide();
    delete menu_;
}

std::string TrayIcon::IconText(const std::string& temperature) {
    return (temperature.empty() ? std::string("??") : temperature) + "\xB0";
}

QImage TrayIcon::Picture(const std::string& text, const TBaseRegistryClass& settings) {
    QImage picture(kSize, kSize, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QFont font(ToQt(settings.GetValue("TrayFontName").AsString()));
    // "System" and other fonts of another desktop: the desktop's own font, bold like "System".
    if (!QFontDatabase::families().contains(font.family(), Qt::CaseInsensitive)) {
        font = QGuiApplication::font();
        font.setBold(true);
    }
    // Whole pixels only: white is keyed out, and no pale fringe stays around the text.
    font.setStyleStrategy(QFont::NoAntialias);
    const int size = settings.GetValue("TrayFontSize").AsInt(kDefaultFontSize);
    font.setPointSize(size > 0 ? size : kDefaultFontSize);
    const QString shown = ToQt(text);
    while (font.pointSize() > 6 && QFontMetrics(font, &picture).horizontalAdvance(shown) > kSize)
        font.setPointSize(font.pointSize() - 1);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(TextToQColor(settings.GetValue("TrayFontColor").AsString()));
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignLeft | Qt::AlignTop, shown);
    painter.end();
    // White is the transparent colour of the icon.
    for (int y = 0; y < kSize; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < kSize; ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = qRgba(255, 255, 255, 0);
    }
    return picture;
}

void TrayIcon::Draw(const std::string& text, const TBaseRegistryClass& settings) {
    picture_ = Picture(text, settings);
    Log("IconData->FontName=" + settings.GetValue("TrayFontName").AsString());
    Log("IconData->FontColor=" + settings.GetValue("TrayFontColor").AsString());
    Log("IconData->FontSize=" + settings.GetValue("TrayFontSize").AsString());
    Log("IconData->iconString=" + text);
    icon_->setIcon(QIcon(QPixmap::fromImage(picture_)));
    icon_->setToolTip(ToQt(tip_));
}

void TrayIcon::SetTip(const std::string& tip) {
    tip_ = tip.substr(0, kMaxTip);
    icon_->setToolTip(ToQt(tip_));
}

// Without a notification area Qt would make a stand-in window of its own, which only gets in
// the way of screen readers: the window's menus hold the tray's commands anyway.
void TrayIcon::Show() {
    if (Available())
        icon_->show();
}

void TrayIcon::Hide() {
    icon_->hide();
}

bool TrayIcon::IsShown() const {
    return icon_->isVisible();
}

bool TrayIcon::Available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace olv
