#include "app/StartUp.h"

#include "app/dialogs/TOlvenarPrefForm.h"
#include "settings/OlvenarRegistryClass.h"
#include "util/Log.h"

#include <QLinearGradient>
#include <QPainter>

namespace olv {

StartSwitch StartUp::SwitchOf(const QStringList& arguments) {
    if (arguments.size() < 2)
        return StartSwitch::None;
    const QString& first = arguments.at(1);
    if (first == QLatin1String("-auto"))
        return StartSwitch::Auto;
    if (first == QLatin1String("-conditions"))
        return StartSwitch::Conditions;
    if (first == QLatin1String("-forecast"))
        return StartSwitch::Forecast;
    if (first == QLatin1String("-summary"))
        return StartSwitch::Summary;
    return StartSwitch::None;
}

bool StartUp::ShowsTipAtStart(StartSwitch start, const TBaseRegistryClass& settings) {
    const std::string stored = settings.ReadExeValue("ShowTips");
    return start != StartSwitch::Auto && (stored.empty() || stored == "Y");
}

bool StartUp::RunFirstRun(OlvenarRegistryClass& settings) {
    const TOlvenarPrefForm::FirstRun run = TOlvenarPrefForm::RunFirstRun(settings);
    if (run == TOlvenarPrefForm::FirstRun::Cancelled)
        Log("First run: the preferences wizard was cancelled");
    return run != TOlvenarPrefForm::FirstRun::Cancelled;
}

QPixmap StartUp::SplashPicture() {
    QPixmap picture(420, 200);
    QPainter painter(&picture);
    QLinearGradient ground(0, 0, 0, picture.height());
    ground.setColorAt(0, QColor(0, 0, 128));
    ground.setColorAt(1, QColor(0, 0, 255));
    painter.fillRect(picture.rect(), ground);
    painter.setPen(Qt::yellow);
    QFont title = painter.font();
    title.setPointSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(picture.rect().adjusted(0, 0, 0, -40), Qt::AlignCenter,
                     QStringLiteral("Olvenar"));
    QFont line = painter.font();
    line.setPointSize(11);
    line.setBold(false);
    painter.setFont(line);
    painter.setPen(Qt::white);
    painter.drawText(
        picture.rect().adjusted(0, 80, 0, 0), Qt::AlignCenter,
        QStringLiteral("Talking weather - version %1").arg(QStringLiteral(OLVENAR_VERSION)));
    return picture;
}

} // namespace olv
