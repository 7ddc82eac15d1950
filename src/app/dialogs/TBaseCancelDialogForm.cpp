#include "app/dialogs/TBaseCancelDialogForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace olv {

TBaseCancelDialogForm::TBaseCancelDialogForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Checking for Program Updates..."));
    setModal(false);
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("MessageLabel"));
    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName(QStringLiteral("ProgressLabel"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    cancelButton_ = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &TBaseCancelDialogForm::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messageLabel_);
    layout->addWidget(progressLabel_);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void TBaseCancelDialogForm::ShowMessage(const QString& message) {
    messageLabel_->setText(message);
    progressLabel_->clear();
    show();
    raise();
    activateWindow();
    cancelButton_->setFocus();
}

void TBaseCancelDialogForm::SetProgress(const QString& caption) {
    progressLabel_->setText(caption);
}

QString TBaseCancelDialogForm::Message() const {
    return messageLabel_->text();
}

QString TBaseCancelDialogForm::Progress() const {
    return progressLabel_->text();
}

void TBaseCancelDialogForm::reject() {
    if (OnCancel)
        OnCancel();
    QDialog::reject();
}

} // namespace olv
