#include "app/dialogs/TBaseTTSPreferences.h"

#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/Prompter.h"
#include "audio/TMP3Class.h"
#include "speech/TBaseEngineClass.h"
#include "speech/TBaseVoiceClass.h"
#include "speech/TBaseVoiceRegistryClass.h"
#include "util/Strings.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace olv {
namespace {

enum NodeKind { VendorNode = 1, VoiceNode = 2 };
constexpr int kKindRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1; // vendor name or voice index

const QString kDisabledDefault = QStringLiteral("Default voice, disabled");
const QString kBusy =
    QStringLiteral("Text to Speech is currently busy, and test cannot be performed");

TBaseRegistryClass& SettingsOf(TBaseTTS& speech) {
    if (!speech.VoiceSettings)
        throw std::logic_error("The speech controller is not initialised");
    return *speech.VoiceSettings;
}

// The three node images: default voice, enabled, disabled.
QIcon NodeIcon(int kind) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (kind == 0) {
        painter.setBrush(QColor(230, 170, 0));
        painter.setPen(QColor(120, 80, 0));
        const QPointF star[] = {{8, 1},    {10, 6},   {15, 6},  {11, 9.5}, {12.5, 15},
                                {8, 11.5}, {3.5, 15}, {5, 9.5}, {1, 6},    {6, 6}};
        painter.drawPolygon(star, 10);
    } else if (kind == 1) {
        painter.setBrush(QColor(40, 160, 60));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(2, 2, 12, 12));
    } else {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(140, 140, 140), 1.5));
        painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    }
    return QIcon(pixmap);
}

void Select(QComboBox* combo, const std::string& value) {
    const QString text = Latin1(value);
    int index = combo->findText(text, Qt::MatchFixedString);
    // The current value stays a choice even when the list does not offer it.
    if (index < 0 && !text.isEmpty()) {
        combo->addItem(text);
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
}

QSlider* MakeSlider(QWidget* parent, const char* name) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setPageStep(20);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setMinimumWidth(160);
    return slider;
}

} // namespace

TBaseTTSPreferences::TBaseTTSPreferences(TBaseTTS& speech, QWidget* parent)
    : TBasePrefForm(SettingsOf(speech), parent), speech_(speech) {
    setWindowTitle(QStringLiteral("Setting Voice and Audio File Preferences"));
    SetWizardMode(false);
    resize(640, 440);
    ChooseFolder = [](QWidget* owner, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, QStringLiteral("Output Directory"), start);
    };
    // Page initialisation: a test must play on the sound device and not reach the window.
    savedOnDone_ = std::exchange(speech_.OnDone, nullptr);
    savedOnStateChange_ = std::exchange(speech_.OnStateChange, nullptr);
    savedOutputToFile_ = std::exchange(speech_.OutputToFile, false);

    AddPanel(MakeVoicePanel(), QStringLiteral("1,1,Voices"));
    AddPanel(MakeSelectionPanel(), QStringLiteral("2,2,Voice Selection Options"));
    AddPanel(MakeAudioFilePanel(), QStringLiteral("3,3,Audio File Options"));
    CopyLists();
    BuildTree();
    initialising_ = false;
    if (tree_->topLevelItemCount() > 0)
        tree_->setCurrentItem(tree_->topLevelItem(0));
    else
        ShowVendor();
}

TBaseTTSPreferences::~TBaseTTSPreferences() {
    // A test still speaking uses a voice and engine of this form.
    if (testVoice_ && speech_.CurrentVoice == testVoice_.get() && speech_.IsBusy())
        speech_.Stop();
    speech_.OnDone = std::move(savedOnDone_);
    speech_.OnStateChange = std::move(savedOnStateChange_);
    speech_.OutputToFile = savedOutputToFile_;
}

QWidget* TBaseTTSPreferences::MakeVoicePanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("VoicePanel"));
    tree_ = new QTreeWidget(panel);
    tree_->setObjectName(QStringLiteral("EngineVoicesTV"));
    tree_->setColumnCount(2);
    tree_->setHeaderLabels({QStringLiteral("Voice"), QStringLiteral("State")});
    tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tree_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    auto* treeLabel = new QLabel(QStringLiteral("Engines and &voices:"), panel);
    treeLabel->setBuddy(tree_);
    // Item views do not take their name from a buddy label.
    tree_->setAccessibleName(QStringLiteral("Engines and voices"));
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { NodeSelected(); });

    pitchSlider_ = MakeSlider(panel, "TrkBarPitch");
    speedSlider_ = MakeSlider(panel, "TrkBarSpeed");
    volumeSlider_ = MakeSlider(panel, "TrkBarVolume");
    pitchLabel_ = new QLabel(QStringLiteral("&Pitch"), panel);
    speedLabel_ = new QLabel(QStringLiteral("&Speed"), panel);
    volumeLabel_ = new QLabel(QStringLiteral("Vo&lume"), panel);
    noPitchLabel_ = new QLabel(QStringLiteral("Adjustment not supported by engine"), panel);
    noPitchLabel_->hide();
    auto* sliders = new QGridLayout;
    int row = 0;
    for (auto [label, slider, value] : {std::tuple{pitchLabel_, pitchSlider_, &pitchValue_},
                                        std::tuple{speedLabel_, speedSlider_, &speedValue_},
                                        std::tuple{volumeLabel_, volumeSlider_, &volumeValue_}}) {
        label->setBuddy(slider);
        *value = new QLabel(panel);
        (*value)->setMinimumWidth(40);
        // Named even while empty (no voice chosen), so a screen reader never meets a blank.
        (*value)->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')) +
                                    QStringLiteral(" value"));
        sliders->addWidget(label, row, 0);
        sliders->addWidget(slider, row, 1);
        sliders->addWidget(*value, row, 2);
        QSlider* moved = slider;
        connect(slider, &QSlider::valueChanged, this,
                [this, moved](int position) { SliderMoved(moved, position); });
        ++row;
    }
    sliders->addWidget(noPitchLabel_, 0, 1);

    enableButton_ = new QPushButton(QStringLiteral("&Enable"), panel);
    defaultButton_ = new QPushButton(QStringLiteral("Defa&ult Voice"), panel);
    testButton_ = new QPushButton(QStringLiteral("&Test"), panel);
    resetButton_ = new QPushButton(QStringLiteral("&Reset Defaults"), panel);
    connect(enableButton_, &QPushButton::clicked, this, &TBaseTTSPreferences::ToggleEnabled);
    connect(defaultButton_, &QPushButton::clicked, this, &TBaseTTSPreferences::MakeDefaultVoice);
    connect(testButton_, &QPushButton::clicked, this, &TBaseTTSPreferences::TestVoice);
    connect(resetButton_, &QPushButton::clicked, this, &TBaseTTSPreferences::ResetDefaults);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {enableButton_, defaultButton_, testButton_, resetButton_})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(sliders);
    right->addLayout(buttons);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(treeLabel);
    left->addWidget(tree_);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(columns);
    return panel;
}

QWidget* TBaseTTSPreferences::MakeSelectionPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("SelectionPanel"));
    auto* text = new QLabel(QStringLiteral("Use this option to choose how voices will be "
                                           "assigned to the text to be read."),
                            panel);
    text->setWordWrap(true);
    auto* group = new QGroupBox(QStringLiteral("Voice Selection"), panel);
    auto* groupLayout = new QVBoxLayout(group);
    assignment_ = new QButtonGroup(this);
    const char* captions[] = {"&Always use default voice", "Round Rob&in", "C&hoose random voice"};
    for (int id = 0; id < 3; ++id) {
        auto* radio = new QRadioButton(QString::fromLatin1(captions[id]), group);
        assignment_->addButton(radio, id);
        groupLayout->addWidget(radio);
    }
    if (QAbstractButton* chosen = assignment_->button(speech_.VoiceAssignment))
        chosen->setChecked(true);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(text);
    layout->addWidget(group);
    layout->addStretch();
    return panel;
}

QWidget* TBaseTTSPreferences::MakeAudioFilePanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("AudioFilePanel"));
    auto* text = new QLabel(QStringLiteral("Use these options to select options related to "
                                           "generating audio output files (wav or MP3) from "
                                           "text."),
                            panel);
    text->setWordWrap(true);
    formatCombo_ = new QComboBox(panel);
    formatCombo_->setObjectName(QStringLiteral("cbxOutputFormats"));
    speedCombo_ = new QComboBox(panel);
    speedCombo_->setObjectName(QStringLiteral("cbxWriteFileSpeed"));
    qualityCombo_ = new QComboBox(panel);
    qualityCombo_->setObjectName(QStringLiteral("cbxAudioQuality"));
    folderEdit_ = new QLineEdit(panel);
    folderEdit_->setObjectName(QStringLiteral("edtOutputDir"));

    for (const std::string& format : speech_.OutputFormats)
        formatCombo_->addItem(Latin1(format));
    std::vector<std::string> choices;
    TBaseTTS::RealTimeChoices(choices);
    for (const std::string& choice : choices)
        speedCombo_->addItem(Latin1(choice));
    choices.clear();
    if (speech_.MP3Writer)
        speech_.MP3Writer->FillQualities(choices);
    for (const std::string& quality : choices)
        qualityCombo_->addItem(Latin1(quality));
    Select(formatCombo_, speech_.OutputFormat());
    Select(speedCombo_, speech_.RealTimeText());
    Select(qualityCombo_, speech_.MP3Quality());
    folderEdit_->setText(Latin1(speech_.OutputDir));

    auto* browse = new QPushButton(QStringLiteral("Browse ..."), panel);
    // No mnemonic left for it: it follows the folder box in the Tab order.
    browse->setAccessibleDescription(QStringLiteral("Choose the output directory"));
    connect(browse, &QPushButton::clicked, this, &TBaseTTSPreferences::Browse);
    connect(formatCombo_, &QComboBox::currentIndexChanged, this, [this] { FormatChanged(); });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderEdit_, 1);
    folderRow->addWidget(browse);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Output File For&mat:"), formatCombo_);
    form->addRow(QStringLiteral("&Write to File Speed:"), speedCombo_);
    qualityLabel_ = new QLabel(QStringLiteral("&Quality:"), panel);
    qualityLabel_->setBuddy(qualityCombo_);
    form->addRow(qualityLabel_, qualityCombo_);
    auto* folderLabel = new QLabel(QStringLiteral("Output Director&y:"), panel);
    folderLabel->setBuddy(folderEdit_);
    form->addRow(folderLabel, folderRow);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addStretch();
    FormatChanged();
    return panel;
}

void TBaseTTSPreferences::CopyLists() {
    try {
        speech_.Engines.CopyTo(engines_);
        speech_.Voices.CopyTo(voices_);
        voices_.RelinkEngines(speech_.Engines, engines_);
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
    defaultVoice_ = voices_.FindByName(speech_.DefaultVoiceName());
}

void TBaseTTSPreferences::BuildTree() {
    TEngineList vendors;
    engines_.MergeVendors(vendors);
    for (size_t v = 0; v < vendors.Count(); ++v) {
        const std::string& vendor = vendors[v].Vendor;
        auto* vendorItem = new QTreeWidgetItem(tree_, {Latin1(vendor)});
        vendorItem->setData(0, kKindRole, VendorNode);
        vendorItem->setData(0, kKeyRole, Latin1(vendor));
        for (size_t i = 0; i < voices_.Count(); ++i) {
            const TBaseVoiceClass& voice = voices_[i];
            if (voice.Engine == nullptr || voice.Engine->Vendor != vendor)
                continue;
            auto* voiceItem = new QTreeWidgetItem(vendorItem, {Latin1(voice.Name)});
            voiceItem->setData(0, kKindRole, VoiceNode);
            voiceItem->setData(0, kKeyRole, int(i));
        }
    }
    RefreshImages();
}

void TBaseTTSPreferences::RefreshImages() {
    static const QIcon icons[] = {NodeIcon(0), NodeIcon(1), NodeIcon(2)};
    static const QString states[] = {QStringLiteral("Default voice"), QStringLiteral("Enabled"),
                                     QStringLiteral("Disabled")};
    for (int v = 0; v < tree_->topLevelItemCount(); ++v) {
        QTreeWidgetItem* vendorItem = tree_->topLevelItem(v);
        const bool vendorOn =
            voices_.VendorEnabled(ToLatin1(vendorItem->data(0, kKeyRole).toString()));
        vendorItem->setIcon(0, icons[vendorOn ? 1 : 2]);
        vendorItem->setText(1, states[vendorOn ? 1 : 2]);
        for (int c = 0; c < vendorItem->childCount(); ++c) {
            QTreeWidgetItem* voiceItem = vendorItem->child(c);
            const TBaseVoiceClass& voice = voices_[size_t(voiceItem->data(0, kKeyRole).toInt())];
            const int image = &voice == defaultVoice_ ? 0 : voice.Enabled() ? 1 : 2;
            voiceItem->setIcon(0, icons[image]);
            // The default image alone would hide that the default voice was disabled.
            voiceItem->setText(1,
                               image == 0 && !voice.Enabled() ? kDisabledDefault : states[image]);
        }
    }
    UpdateEnableCaption();
}

TBaseVoiceClass* TBaseTTSPreferences::SelectedVoice() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr || item->data(0, kKindRole).toInt() != VoiceNode)
        return nullptr;
    return &voices_[size_t(item->data(0, kKeyRole).toInt())];
}

QString TBaseTTSPreferences::SelectedVendor() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr)
        return {};
    if (item->data(0, kKindRole).toInt() == VoiceNode)
        item = item->parent();
    return item->data(0, kKeyRole).toString();
}

bool TBaseTTSPreferences::NodeEnabled(const QTreeWidgetItem* item) const {
    if (item->data(0, kKindRole).toInt() == VendorNode)
        return voices_.VendorEnabled(ToLatin1(item->data(0, kKeyRole).toString()));
    return voices_[size_t(item->data(0, kKeyRole).toInt())].Enabled();
}

void TBaseTTSPreferences::UpdateEnableCaption() {
    const QTreeWidgetItem* item = tree_->currentItem();
    enableButton_->setEnabled(item != nullptr);
    enableButton_->setText(item != nullptr && NodeEnabled(item) ? QStringLiteral("&Disable")
                                                                : QStringLiteral("&Enable"));
}

void TBaseTTSPreferences::NodeSelected() {
    if (initialising_)
        return;
    const WaitCursor wait;
    if (TBaseVoiceClass* voice = SelectedVoice())
        ShowVoice(*voice);
    else
        ShowVendor();
    UpdateEnableCaption();
}

void TBaseTTSPreferences::ShowVoice(TBaseVoiceClass& voice) {
    try {
        voice.LoadDefaultValues();
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
    const bool pitchAdjustable = voice.Engine != nullptr && voice.Engine->PitchAdjustable;
    pitchSlider_->setVisible(pitchAdjustable);
    noPitchLabel_->setVisible(!pitchAdjustable);
    for (QWidget* control : std::initializer_list<QWidget*>{
             pitchLabel_, speedLabel_, volumeLabel_, pitchSlider_, speedSlider_, volumeSlider_,
             defaultButton_, testButton_, resetButton_}) {
        control->setEnabled(true);
    }
    const bool wasInitialising = std::exchange(initialising_, true);
    pitchSlider_->setRange(voice.MinPitch, voice.MaxPitch);
    pitchSlider_->setValue(voice.Pitch());
    speedSlider_->setRange(voice.MinSpeed, voice.MaxSpeed);
    speedSlider_->setValue(voice.Speed());
    volumeSlider_->setRange(voice.MinVolume(), voice.MaxVolume());
    volumeSlider_->setValue(voice.VolumeLeft());
    initialising_ = wasInitialising;
    for (auto [slider, value] :
         {std::pair{pitchSlider_, pitchValue_}, std::pair{speedSlider_, speedValue_},
          std::pair{volumeSlider_, volumeValue_}}) {
        value->setText(QString::number(slider->value()));
        value->show();
    }
}

void TBaseTTSPreferences::ShowVendor() {
    for (QWidget* control : std::initializer_list<QWidget*>{
             pitchLabel_, speedLabel_, volumeLabel_, pitchSlider_, speedSlider_, volumeSlider_,
             defaultButton_, testButton_, resetButton_}) {
        control->setEnabled(false);
    }
    const bool wasInitialising = std::exchange(initialising_, true);
    for (QSlider* slider : {pitchSlider_, speedSlider_, volumeSlider_})
        slider->setValue(slider->minimum());
    initialising_ = wasInitialising;
    for (QLabel* value : {pitchValue_, speedValue_, volumeValue_})
        value->hide();
}

void TBaseTTSPreferences::SliderMoved(QSlider* slider, int value) {
    TBaseVoiceClass* voice = SelectedVoice();
    if (initialising_ || voice == nullptr)
        return;
    try {
        if (slider == pitchSlider_)
            voice->SetPitch(value);
        else if (slider == speedSlider_)
            voice->SetSpeed(value);
        else
            voice->SetVolume(value);
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
        ShowVoice(*voice);
        return;
    }
    QLabel* label = slider == pitchSlider_   ? pitchValue_
                    : slider == speedSlider_ ? speedValue_
                                             : volumeValue_;
    label->setText(QString::number(value));
}

void TBaseTTSPreferences::ToggleEnabled() {
    const QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr)
        return;
    // The button does what its caption says.
    const bool enable = !NodeEnabled(item);
    if (TBaseVoiceClass* voice = SelectedVoice()) {
        voice->SetEnabled(enable);
        if (enable && voice->Engine != nullptr)
            engines_.EnableVendor(voice->Engine->Vendor);
    } else {
        const std::string vendor = ToLatin1(SelectedVendor());
        try {
            if (enable)
                TBaseTTS::EnableVendor(vendor, engines_, voices_);
            else
                speech_.DisableVendor(vendor, engines_, voices_, defaultVoice_);
        } catch (const std::exception& error) {
            Tell(this, Latin1(error.what()));
        }
    }
    RefreshImages();
}

void TBaseTTSPreferences::MakeDefaultVoice() {
    TBaseVoiceClass* voice = SelectedVoice();
    if (voice == nullptr)
        return;
    voice->SetEnabled(true);
    if (voice->Engine != nullptr)
        engines_.EnableVendor(voice->Engine->Vendor);
    defaultVoice_ = voice;
    RefreshImages();
}

void TBaseTTSPreferences::TestVoice() {
    TBaseVoiceClass* voice = SelectedVoice();
    if (voice == nullptr)
        return;
    if (speech_.IsBusy()) {
        Tell(this, kBusy);
        return;
    }
    try {
        auto trial = std::make_unique<TBaseVoiceClass>();
        trial->Assign(*voice);
        // Kept until the form goes: the controller uses it for as long as the test speaks.
        testVoice_ = std::move(trial);
        const int32_t language = voice->Engine != nullptr ? voice->Engine->LanguageID : 0;
        speech_.SpeakWithVoice(testVoice_.get(), TBaseTTS::TestText(language));
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
}

void TBaseTTSPreferences::ResetDefaults() {
    TBaseVoiceClass* voice = SelectedVoice();
    if (voice == nullptr)
        return;
    try {
        voice->ResetToDefaults();
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
    ShowVoice(*voice);
}

void TBaseTTSPreferences::FormatChanged() {
    const bool mp3 = !SameText(ToLatin1(formatCombo_->currentText()), TBaseTTS::kOutputFormatWav);
    qualityCombo_->setEnabled(mp3);
    qualityLabel_->setEnabled(mp3);
}

void TBaseTTSPreferences::Browse() {
    const QString current = folderEdit_->text().trimmed();
    const QString start = QFileInfo(current).isDir() ? current : Latin1(Trim(speech_.OutputDir));
    const QString chosen = ChooseFolder(this, start);
    if (!chosen.isEmpty())
        folderEdit_->setText(chosen);
}

bool TBaseTTSPreferences::ValidateControl(const QString& name) {
    if (name != folderEdit_->objectName())
        return true;
    const QString folder = folderEdit_->text().trimmed();
    // A relative folder would be taken from wherever the program runs.
    if (folder.contains(QStringLiteral("\\\\")) || !QDir::isAbsolutePath(folder)) {
        Tell(this, QStringLiteral("Output directory pathname is invalid"));
        return false;
    }
    if (!QFileInfo(folder).isDir()) {
        Tell(this, QStringLiteral("The output directory specified does not exist"));
        return false;
    }
    return true;
}

bool TBaseTTSPreferences::ReadyToSave() {
    // The controller takes only an enabled voice as its default; refuse before changing anything.
    if (defaultVoice_ != nullptr && !defaultVoice_->Enabled()) {
        Tell(this, QStringLiteral("The default voice is disabled. Enable it or choose another "
                                  "default voice."));
        return false;
    }
    return true;
}

void TBaseTTSPreferences::SaveHook() {
    const WaitCursor wait;
    try {
        speech_.SetOutputFormat(ToLatin1(formatCombo_->currentText()));
        speech_.SetRealTime(ToLatin1(speedCombo_->currentText()));
        speech_.SetMP3Quality(ToLatin1(qualityCombo_->currentText()));
        speech_.OutputDir = ToLatin1(folderEdit_->text().trimmed());
        speech_.VoiceAssignment = uint8_t(std::max(0, assignment_->checkedId()));
        // A reading in progress keeps its voice: it is found again among the new copies.
        const bool speakingOwnVoice =
            speech_.CurrentVoice != nullptr && speech_.CurrentVoice != testVoice_.get();
        const std::string currentId = speakingOwnVoice ? speech_.CurrentVoice->VoiceID : "";
        engines_.CopyTo(speech_.Engines);
        voices_.CopyTo(speech_.Voices);
        speech_.Voices.RelinkEngines(engines_, speech_.Engines);
        if (speakingOwnVoice)
            speech_.CurrentVoice = speech_.Voices.FindByID(currentId);
        if (defaultVoice_ != nullptr)
            speech_.SetDefaultVoice(defaultVoice_->Name);
        speech_.SaveSettings();
    } catch (const std::exception& error) {
        Tell(this, Latin1(error.what()));
    }
}

} // namespace olv
