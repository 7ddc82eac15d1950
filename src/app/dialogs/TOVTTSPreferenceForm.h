#pragma once

#include "app/dialogs/TBaseTTSPreferences.h"

namespace olv {

// The program's voice options: the speech preferences as they are.
//   TOVTTSPreferenceForm form(speech, window);
//   form.exec();                      // OK applies and writes; nothing else to do afterwards
class TOVTTSPreferenceForm : public TBaseTTSPreferences {
    Q_OBJECT

public:
    explicit TOVTTSPreferenceForm(TBaseTTS& speech, QWidget* parent = nullptr)
        : TBaseTTSPreferences(speech, parent) {}
};

} // namespace olv
