#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace olv {

// The modeless progress window of the update check, "Checking for Program Updates...": what is
// being done, how far the transfer has come, and "Cancel". The check goes on while it is shown
// (its transfers let events run), so Cancel and the window's close button reach it; both call
// OnCancel.
class TBaseCancelDialogForm : public QDialog {
    Q_OBJECT

public:
    explicit TBaseCancelDialogForm(QWidget* parent = nullptr);

    // Shows the window with message and an empty progress line.
    void ShowMessage(const QString& message);
    // The downloader's progress text ("Received 2048 of 9000.").
    void SetProgress(const QString& caption);

    QString Message() const;
    QString Progress() const;
    QPushButton* CancelButton() const { return cancelButton_; }

    std::function<void()> OnCancel;

public slots:
    // Cancel, Escape and the close button: the check is asked to stop, and the window goes.
    void reject() override;

private:
    QLabel* messageLabel_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace olv
