#pragma once

#include <QPixmap>
#include <QStringList>

namespace olv {

class OlvenarRegistryClass;
class TBaseRegistryClass;

// The command-line switch: only the first argument counts, compared exactly.
enum class StartSwitch { None, Auto, Conditions, Forecast, Summary };

class StartUp {
public:
    // arguments as QCoreApplication gives them (the program first).
    static StartSwitch SwitchOf(const QStringList& arguments);
    // The tip of the day opens at start unless "-auto" or the "ShowTips" setting says no.
    static bool ShowsTipAtStart(StartSwitch start, const TBaseRegistryClass& settings);

    // The preferences wizard when they were never saved (a first run). False when the user
    // cancelled it: the program ends, and nothing was written.
    static bool RunFirstRun(OlvenarRegistryClass& settings);

    // The splash window's picture: the program's name on the default colours.
    static QPixmap SplashPicture();
};

} // namespace olv
