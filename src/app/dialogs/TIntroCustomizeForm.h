#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;

namespace olv {

class IntroClass;

// The nine lead-in phrases of the spoken reports. Showing the form reads "Intro.chl" into the
// program's phrases again; OK writes the edited phrases to the file and only then puts them in
// effect; Cancel changes nothing.
class TIntroCustomizeForm : public QDialog {
    Q_OBJECT

public:
    // intro: the program's phrases (not owned).
    explicit TIntroCustomizeForm(IntroClass& intro, QWidget* parent = nullptr);

    // Reads the phrases again and fills the fields (done on showing).
    void Prepare();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Save();

    IntroClass& intro_;
    std::vector<std::pair<QLineEdit*, std::string IntroClass::*>> edits_;
};

} // namespace olv
