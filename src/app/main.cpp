// Olvenar: the talking-weather window. One instance per user; a second start brings the
// first one forward and ends.

#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "app/TOVForm.h"
#include "platform/Paths.h"
#include "platform/qt/QtPlatform.h"
#include "settings/OlvenarRegistryClass.h"
#include "util/Log.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QSplashScreen>
#include <QTimer>
#include <memory>

namespace {

// Lets the sound server's last notices about closed streams arrive before Qt goes: Qt's
// PulseAudio engine, torn down with the application object, can abort on one that comes in
// meanwhile.
void LetLastNoticesArrive() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

QSplashScreen* ShowSplash(const olv::OlvenarRegistryClass& settings) {
    if (settings.GetValue("DisableSplash").AsBool())
        return nullptr;
    auto* splash = new QSplashScreen(olv::StartUp::SplashPicture());
    splash->show();
    QApplication::processEvents();
    return splash;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    // Before anything else, so that a second start never touches the first one's files.
    olv::SingleInstance instance;
    if (instance.HandOverToRunning())
        return 0;

    olv::SetProgramFileName(argv[0]);
    const std::string problem =
        olv::PrepareProgramFolder(olv::DefaultProgramFolder(), olv::ShippedDataFolder(argv[0]));
    if (!problem.empty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Olvenar"), QString::fromLatin1(problem));
        return 1;
    }
    olv::StartLog(olv::ProgramFolder(), olv::ProgramFileName());
    olv::Log("Olvenar Version: " + olv::OlvenarRegistryClass().VersionText());
    olv::Log("Checking for duplicate instance");
    if (!instance.Listen())
        olv::Log("No single-instance guard: " + instance.Error().toStdString());
    olv::Log("Before init in project");
    olv::InstallQtPlatform();
    olv::Log("Init->Change dir");

    QPointer<QSplashScreen> splash;
    {
        olv::OlvenarRegistryClass settings;
        settings.LoadAll();
        if (!olv::StartUp::RunFirstRun(settings))
            return 0;
        splash = ShowSplash(settings);
    }

    int status = 0;
    {
        olv::Log("Olvenar ->Create OVForm Object");
        olv::TOVForm form(olv::StartUp::SwitchOf(QApplication::arguments()));
        form.SetSplash(splash);
        QObject::connect(&instance, &olv::SingleInstance::RestoreRequested, &form,
                         &olv::TOVForm::Restore);
        form.show();
        olv::Log("Olvenar ->Run");
        status = QApplication::exec();
        olv::Log("Olvenar ->After Run");
    }
    delete splash;
    LetLastNoticesArrive();
    return status;
}
