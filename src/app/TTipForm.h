#pragma once

#include <QDialog>

class QCheckBox;
class QTextBrowser;

namespace olv {

class TipOfTheDay;

// "Tip of the Day...": one tip at a time, "Next" for the next one, "Quick Start Guide", and
// "Show Tips at Startup", stored when the window closes.
class TTipForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kAboveMainBottom = 25;

    TTipForm(TipOfTheDay& tips, QWidget* parent = nullptr);

    // Centred over the main window with its bottom 25 pixels above the main window's bottom;
    // moved up by its height, or left by its width, where it would leave the screen.
    static QPoint Place(const QRect& mainWindow, const QSize& size, const QRect& screen);

    void ShowNextTip();
    QString TipText() const;
    QCheckBox& ShowAtStartup() const { return *showAtStartup_; }

protected:
    void done(int result) override;

private:
    TipOfTheDay& tips_;
    QTextBrowser* text_;
    QCheckBox* showAtStartup_;
};

} // namespace olv
