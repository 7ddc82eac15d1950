#include "report/IntroClass.h"

#include "platform/Paths.h"
#include "scripts/GrabBaseClass.h"

namespace olv {
namespace {

struct Phrase {
    const char* name;
    std::string IntroClass::*field;
};

// The value names in "Intro.chl", in the order they are written.
const Phrase kPhrases[] = {
    {"ConditionsIntro", &IntroClass::ConditionsIntro},
    {"Temperature", &IntroClass::Temperature},
    {"Humidity", &IntroClass::Humidity},
    {"Dewpoint", &IntroClass::Dewpoint},
    {"Wind", &IntroClass::Wind},
    {"Pressure", &IntroClass::Pressure},
    {"Conditions", &IntroClass::Conditions},
    {"Visibility", &IntroClass::Visibility},
    {"Forecast", &IntroClass::Forecast},
};

} // namespace

std::string IntroClass::FilePath() const {
    return ProgramFolder() + kFileName;
}

void IntroClass::Load() {
    GrabBaseClass store;
    std::string message;
    store.LoadFromFile(FilePath(), message);
    for (const Phrase& phrase : kPhrases) {
        std::string value = store.GetValue("/", phrase.name);
        if (!value.empty())
            this->*phrase.field = std::move(value);
    }
}

void IntroClass::Save() {
    for (const Phrase& phrase : kPhrases)
        if ((this->*phrase.field).empty())
            this->*phrase.field = " ";
    GrabBaseClass store;
    std::string message;
    store.LoadFromFile(FilePath(), message);
    for (const Phrase& phrase : kPhrases)
        store.SetValue("/", phrase.name, this->*phrase.field);
    store.SaveToFile(FilePath(), message);
}

} // namespace olv
