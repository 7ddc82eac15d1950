#pragma once

#include <QPixmap>
#include <QStringList>

namespace olv {

class TBaseRegistryClass;

// The command-line switch: only the first argument counts, compared exactly.
enum class StartSwitch { None, Auto, Conditions, Forecast, Summary };

class StartUp {
public:
    static constexpr const char* kFirstCity = "United States|Massachusetts|Boston";

    // arguments as QCoreApplication gives them (the program first).
    static StartSwitch SwitchOf(const QStringList& arguments);
    // The tip of the day opens at start unless "-auto" or the "ShowTips" setting says no.
    static bool ShowsTipAtStart(StartSwitch start, const TBaseRegistryClass& settings);

    // A first run (no saved preferences). Until the preferences wizard exists it starts on
    // the defaults, with Boston in My Cities when My Cities is empty. False would end the
    // program (the wizard cancelled).
    static bool RunFirstRun(TBaseRegistryClass& settings);

    // The splash window's picture: the program's name on the default colours.
    static QPixmap SplashPicture();
};

} // namespace olv
