#include "app/dialogs/TMyAudioDeviceDlg.h"

#include "app/dialogs/DialogSupport.h"
#include "speech/TAudioDeviceList.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <vector>

namespace olv {
namespace {

constexpr const char* kDetailCaptions[] = {"Device ID", "Manufacturer ID", "Product ID", "Version",
                                           "Formats",   "Channels",        "Supports"};

bool IsOutputKind(uint8_t kind) {
    return kind == 1 || kind == 5;
}

} // namespace

TMyAudioDeviceDlg::TMyAudioDeviceDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Audio Destination Device ID"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("DeviceList"));
    auto* listLabel = new QLabel(QStringLiteral("&Devices:"), this);
    listLabel->setBuddy(list_);
    // Item views do not take their name from a buddy label.
    list_->setAccessibleName(QStringLiteral("Devices"));
    emptyNote_ = new QLabel(QStringLiteral("No sound output device was found."), this);
    emptyNote_->hide();

    auto* form = new QFormLayout;
    for (size_t i = 0; i < details_.size(); ++i) {
        details_[i] = new QLabel(this);
        details_[i]->setWordWrap(true);
        // Readable with the keyboard, and named by its caption for screen readers.
        details_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);
        details_[i]->setAccessibleDescription(QString::fromLatin1(kDetailCaptions[i]));
        form->addRow(QString::fromLatin1(kDetailCaptions[i]) + QLatin1Char(':'), details_[i]);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowDetails(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(list_);
    left->addWidget(emptyNote_);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(form, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    resize(620, 360);
}

void TMyAudioDeviceDlg::showEvent(QShowEvent* event) {
    Prepare();
    QDialog::showEvent(event);
}

void TMyAudioDeviceDlg::Prepare() {
    list_->clear();
    setWindowTitle(IsOutputKind(deviceKind_) ? QStringLiteral("Audio Destination Device ID")
                                             : QStringLiteral("Audio Source Device ID"));
    std::vector<TAudioDeviceList::Entry> entries;
    if (IsOutputKind(deviceKind_))
        entries = TAudioDeviceList::Entries();
    for (const TAudioDeviceList::Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.DeviceID == -1 ? QString::fromLatin1(kDefaultCaption)
                                                              : Latin1(entry.Caption),
                                         list_);
        item->setData(Qt::UserRole, entry.DeviceID);
    }
    emptyNote_->setVisible(entries.empty());
    list_->setCurrentRow(TAudioDeviceList::EntryIndexOf(entries, preselected_));
    ShowDetails();
}

int TMyAudioDeviceDlg::SelectedDevice() const {
    const QListWidgetItem* item = list_->currentItem();
    return item != nullptr && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

void TMyAudioDeviceDlg::ShowDetails() {
    const QListWidgetItem* item = list_->currentItem();
    TAudioDeviceList::Details details;
    if (item == nullptr || !TAudioDeviceList::DetailsOf(item->data(Qt::UserRole).toInt(), details))
        return; // a device that has gone keeps the last details
    const bool isDefault = item->data(Qt::UserRole).toInt() == -1;
    const std::string texts[] = {details.DeviceID, details.ManufacturerID, details.ProductID,
                                 details.Version,  details.Formats,        details.Channels,
                                 details.Supports};
    for (size_t i = 0; i < details_.size(); ++i)
        details_[i]->setText(Latin1(texts[i]).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    if (isDefault)
        details_[DeviceID]->setText(
            QStringLiteral("-1 (%1)").arg(QString::fromLatin1(kDefaultCaption)));
}

QString TMyAudioDeviceDlg::DetailText(Detail detail) const {
    return details_.at(size_t(detail))->text();
}

} // namespace olv
