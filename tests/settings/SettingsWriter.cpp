// Another program that saves settings, for the tests of programs saving at the same time:
//   settings_writer FILE APPLICATION NAME=VALUE...
// declares each NAME as a text item of APPLICATION in the settings file FILE, loads them all,
// then saves each VALUE in turn, one save an item. Exit status 1 when a save failed.

#include "settings/TBaseRegistryClass.h"

#include <string>

int main(int argc, char** argv) {
    olv::RegistryStore store(argc > 2 ? argv[1] : "");
    olv::TBaseRegistryClass settings(store);
    settings.SetApplicationName(argc > 2 ? argv[2] : "");
    for (int i = 3; i < argc; ++i)
        settings.Declare(std::string(argv[i]).substr(0, std::string(argv[i]).find('=')),
                         olv::RegScope::App, olv::RegType::String);
    settings.LoadAll();
    for (int i = 3; i < argc; ++i) {
        const std::string setting = argv[i];
        const size_t equals = setting.find('=');
        settings.SetValue(setting.substr(0, equals), setting.substr(equals + 1));
        if (!settings.SaveAll())
            return 1;
    }
    return 0;
}
