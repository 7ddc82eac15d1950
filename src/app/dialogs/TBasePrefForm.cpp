#include "app/dialogs/TBasePrefForm.h"

#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/Prompter.h"
#include "settings/TBaseRegistryClass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace olv {
namespace {

constexpr const char* kSettingProperty = "olvSetting";
constexpr const char* kChoiceProperty = "olvChoice";
constexpr int kMaxStep = 100;

const QString kNextCaption = QStringLiteral("&Next >>");
const QString kFinishCaption = QStringLiteral("&Finish");

std::string SettingOf(const QWidget* control) {
    return control->property(kSettingProperty).toString().toStdString();
}

std::vector<QWidget*> BoundControls(const QWidget* panel) {
    std::vector<QWidget*> controls;
    for (QWidget* child : panel->findChildren<QWidget*>())
        if (!child->property(kSettingProperty).toString().isEmpty())
            controls.push_back(child);
    return controls;
}

void LoadControl(QWidget* control, TBaseRegistryClass& settings) {
    const std::string name = SettingOf(control);
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        list->clear();
        for (const std::string& entry : settings.GetList(name))
            list->addItem(Latin1(entry));
        return;
    }
    const Variant value = settings.GetValue(name);
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        check->setChecked(value.AsBool());
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(Latin1(value.AsString()));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const QString text = Latin1(value.AsString());
        int index = combo->findText(text, Qt::MatchExactly);
        // A stored value that is not offered stays a choice, so that OK does not lose it.
        if (index < 0 && !text.isEmpty()) {
            combo->addItem(text);
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        slider->setValue(value.AsInt());
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        const QString text = Latin1(value.AsString());
        for (QRadioButton* radio : group->findChildren<QRadioButton*>())
            if (radio->property(kChoiceProperty).toString() == text)
                radio->setChecked(true);
    }
}

void SaveControl(const QWidget* control, TBaseRegistryClass& settings) {
    const std::string name = SettingOf(control);
    if (const auto* list = qobject_cast<const QListWidget*>(control)) {
        std::vector<std::string>& entries = settings.GetList(name);
        entries.clear();
        for (int i = 0; i < list->count(); ++i)
            entries.push_back(ToLatin1(list->item(i)->text()));
    } else if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        settings.SetValue(name, check->isChecked());
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        settings.SetValue(name, ToLatin1(edit->text()));
    } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        settings.SetValue(name, ToLatin1(combo->currentText()));
    } else if (const auto* slider = qobject_cast<const QAbstractSlider*>(control)) {
        settings.SetValue(name, int32_t(slider->value()));
    } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        for (const QRadioButton* radio : group->findChildren<QRadioButton*>())
            if (radio->isChecked())
                settings.SetValue(name, ToLatin1(radio->property(kChoiceProperty).toString()));
    }
}

} // namespace

TBasePrefForm::TBasePrefForm(TBaseRegistryClass& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Setting Preferences"));
    resize(450, 410);

    titleLabel_ = new QLabel(this);
    QFont bold = titleLabel_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    titleLabel_->setFont(bold);
    stack_ = new QStackedWidget(this);
    blankPage_ = new QWidget(stack_);
    stack_->addWidget(blankPage_);
    tabs_ = new QTabWidget(this);
    tabs_->hide();

    backButton_ = new QPushButton(QStringLiteral("<< &Back"), this);
    nextButton_ = new QPushButton(kNextCaption, this);
    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    connect(backButton_, &QPushButton::clicked, this, &TBasePrefForm::PreviousStep);
    connect(nextButton_, &QPushButton::clicked, this, [this] {
        if (onLastStep_)
            Finish();
        else
            NextStep();
    });
    connect(okButton_, &QPushButton::clicked, this, &TBasePrefForm::Ok);
    connect(cancelButton_, &QPushButton::clicked, this, &TBasePrefForm::reject);
    connect(tabs_, &QTabWidget::currentChanged, this, &TBasePrefForm::TabChanged);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {backButton_, nextButton_, okButton_, cancelButton_})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addWidget(stack_, 1);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
}

void TBasePrefForm::AddPanel(QWidget* panel, const QString& descriptor) {
    Panel entry;
    entry.Widget = panel;
    const QStringList parts = descriptor.split(QLatin1Char(','));
    entry.WizardOrder = parts.value(0).trimmed().toInt();
    entry.TabOrder = parts.value(1).trimmed().toInt();
    entry.Title = parts.mid(2).join(QLatin1Char(','));
    panel->setParent(this);
    panel->hide();
    panels_.push_back(entry);
}

void TBasePrefForm::Bind(QWidget* control, const char* settingName) {
    control->setProperty(kSettingProperty, QString::fromLatin1(settingName));
}

void TBasePrefForm::SetChoice(QRadioButton* radio, const QString& value) {
    radio->setProperty(kChoiceProperty, value);
}

bool TBasePrefForm::InMode(const Panel& panel) const {
    return wizardMode_ ? panel.WizardOrder > 0 : panel.TabOrder > 0;
}

const TBasePrefForm::Panel* TBasePrefForm::PanelWithWizardOrder(int order) const {
    for (const Panel& panel : panels_)
        if (panel.WizardOrder == order)
            return &panel;
    return nullptr;
}

const TBasePrefForm::Panel* TBasePrefForm::PanelOf(const QWidget* widget) const {
    for (const Panel& panel : panels_)
        if (panel.Widget == widget)
            return &panel;
    return nullptr;
}

void TBasePrefForm::showEvent(QShowEvent* event) {
    Prepare();
    QDialog::showEvent(event);
}

void TBasePrefForm::Prepare() {
    if (prepared_)
        return;
    prepared_ = true;
    // A first run starts from a settings object nobody has read yet. Later, the program's
    // object holds changes of this session that are not written yet: reading the file again
    // would lose them.
    if (wizardMode_)
        settings_.LoadAll();
    LoadControls();
    LoadHook();

    if (wizardMode_) {
        okButton_->hide();
        for (const Panel& panel : panels_)
            if (InMode(panel))
                stack_->addWidget(panel.Widget);
        NextStep();
    } else {
        backButton_->hide();
        nextButton_->hide();
        titleLabel_->hide();
        stack_->hide();
        tabs_->show();
        ArrangeTabs();
    }
}

void TBasePrefForm::LoadControls() {
    for (const Panel& panel : panels_)
        if (InMode(panel))
            for (QWidget* control : BoundControls(panel.Widget))
                LoadControl(control, settings_);
}

void TBasePrefForm::SaveControls() {
    for (const Panel& panel : panels_)
        if (InMode(panel))
            for (const QWidget* control : BoundControls(panel.Widget))
                SaveControl(control, settings_);
}

bool TBasePrefForm::Save() {
    if (!ReadyToSave())
        return false;
    SaveControls();
    SaveHook();
    settings_.SaveAll();
    settings_.MarkStartupSaved();
    settings_.LoadAll();
    return true;
}

void TBasePrefForm::ArrangeTabs() {
    int highest = 0;
    for (const Panel& panel : panels_)
        highest = std::max(highest, panel.TabOrder);
    const QSignalBlocker blocker(tabs_);
    for (int order = 1; order <= highest; ++order)
        for (const Panel& panel : panels_)
            if (panel.TabOrder == order)
                tabs_->addTab(panel.Widget, panel.Title);
    tabs_->setCurrentIndex(tabs_->count() > 0 ? 0 : -1);
    currentTab_ = tabs_->currentIndex();
}

void TBasePrefForm::TabChanged(int index) {
    // A tab may be left only when its panel passes its checks.
    if (currentTab_ >= 0 && currentTab_ != index && !ValidatePanel(tabs_->widget(currentTab_))) {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(currentTab_);
        return;
    }
    currentTab_ = index;
}

void TBasePrefForm::NextStep() {
    if (shownPanel_ != nullptr && !ValidatePanel(shownPanel_))
        return;
    Step(+1, QStringLiteral("Problem with Preference Panel captions"));
}

void TBasePrefForm::PreviousStep() {
    Step(-1, QStringLiteral("problem with preference panel captions"));
}

void TBasePrefForm::Step(int direction, const QString& lostMessage) {
    ShowPanel(nullptr);
    const Panel* found = nullptr;
    while (found == nullptr) {
        currentStep_ += direction;
        if (currentStep_ < 1 || currentStep_ > kMaxStep) {
            Tell(this, lostMessage);
            return;
        }
        found = PanelWithWizardOrder(currentStep_);
    }
    ShowPanel(found);
    UpdateButtons();
    FocusFirstControl(found->Widget);
}

void TBasePrefForm::ShowPanel(const Panel* panel) {
    shownPanel_ = panel != nullptr ? panel->Widget : nullptr;
    stack_->setCurrentWidget(panel != nullptr ? panel->Widget : blankPage_);
    titleLabel_->setText(panel != nullptr ? panel->Title : QString());
}

void TBasePrefForm::UpdateButtons() {
    bool earlier = false;
    bool later = false;
    for (const Panel& panel : panels_) {
        earlier = earlier || (panel.WizardOrder >= 1 && panel.WizardOrder < currentStep_);
        later = later || panel.WizardOrder > currentStep_;
    }
    backButton_->setEnabled(earlier);
    onLastStep_ = !later;
    nextButton_->setText(onLastStep_ ? kFinishCaption : kNextCaption);
}

void TBasePrefForm::FocusFirstControl(QWidget* panel) {
    if (panel->layout() != nullptr)
        panel->layout()->activate();
    std::vector<QWidget*> candidates = BoundControls(panel);
    // A panel without bound controls starts at its first control that takes the focus.
    if (candidates.empty())
        for (QWidget* child : panel->findChildren<QWidget*>())
            if (child->focusPolicy() & Qt::TabFocus)
                candidates.push_back(child);
    QWidget* first = nullptr;
    QPoint firstAt;
    for (QWidget* control : candidates) {
        if (!control->isVisibleTo(panel) || !control->isEnabled())
            continue;
        const QPoint at = control->mapTo(panel, QPoint(0, 0));
        if (first == nullptr || at.y() < firstAt.y() ||
            (at.y() == firstAt.y() && at.x() < firstAt.x())) {
            first = control;
            firstAt = at;
        }
    }
    (first != nullptr ? first : nextButton_)->setFocus(Qt::TabFocusReason);
}

void TBasePrefForm::Finish() {
    if (shownPanel_ != nullptr && !ValidatePanel(shownPanel_))
        return;
    if (Save())
        done(Saved);
}

void TBasePrefForm::Ok() {
    for (const Panel& panel : panels_) {
        if (InMode(panel) && !ValidatePanel(panel.Widget)) {
            const QSignalBlocker blocker(tabs_);
            tabs_->setCurrentWidget(panel.Widget);
            currentTab_ = tabs_->currentIndex();
            return;
        }
    }
    if (Save())
        done(Saved);
}

void TBasePrefForm::reject() {
    if (!wizardMode_) {
        QDialog::reject();
        return;
    }
    if (AskYesNo(this, QStringLiteral("Are you sure you want to exit?")))
        done(Aborted);
}

bool TBasePrefForm::ValidatePanel(QWidget* panel) {
    for (QWidget* control : panel->findChildren<QWidget*>())
        if (!ValidateControl(control->objectName()))
            return false;
    return true;
}

bool TBasePrefForm::ValidateControl(const QString&) {
    return true;
}

} // namespace olv
