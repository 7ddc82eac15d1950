#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;

namespace olv {

class TBaseRegistryClass;

// A form of setting panels shown either one after another, as a wizard ("<< Back", "Next >>",
// "Finish"), or as the tabs of a dialog ("OK", "Cancel"). Controls on the panels are bound to
// settings items by name: they are loaded from the settings object when the form is first
// shown and saved into it by Finish or OK, which then write the settings. Cancel writes nothing.
//
// A derived form builds its panels in its constructor:
//   AddPanel(proxyPanel, "2,2,Internet Options");   // wizard order, tab order (0: no tab), title
//   Bind(hostEdit, "ProxyHost");
// and may check panels and controls (ValidatePanel, ValidateControl) and add its own loading
// and saving (LoadHook, ReadyToSave, SaveHook). The opener clears wizard mode for the dialog.
class TBasePrefForm : public QDialog {
    Q_OBJECT

public:
    // The modal results: OK or Finish saved; a confirmed wizard cancel aborts.
    enum Result { Cancelled = QDialog::Rejected, Saved = QDialog::Accepted, Aborted = 3 };

    explicit TBasePrefForm(TBaseRegistryClass& settings, QWidget* parent = nullptr);

    // Wizard mode is on after creation; change it before the form is shown.
    void SetWizardMode(bool wizard) { wizardMode_ = wizard; }
    bool WizardMode() const { return wizardMode_; }

    // Appends a panel (the form becomes its parent). descriptor: "wizard order,tab order,title";
    // wizard order 0 keeps the panel out of the wizard, tab order 0 out of the dialog.
    void AddPanel(QWidget* panel, const QString& descriptor);
    // Binds a control to the settings item settingName. Edit boxes, check boxes, combo boxes
    // (by entry text), sliders, list widgets (the item's list) and group boxes of radio buttons
    // (each radio button's value set with SetChoice) can be bound.
    static void Bind(QWidget* control, const char* settingName);
    static void SetChoice(QRadioButton* radio, const QString& value);

    // Loads the controls and arranges the panels for the mode; done on first showing.
    void Prepare();

    // Wizard state: whether the panel on show is the last, and the panel on show (null between
    // panels).
    bool OnLastStep() const { return onLastStep_; }
    QWidget* ShownPanel() const { return shownPanel_; }
    QTabWidget* Tabs() const { return tabs_; }

    QPushButton* BackButton() const { return backButton_; }
    QPushButton* NextButton() const { return nextButton_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

public slots:
    void NextStep();
    void PreviousStep();
    // Cancel, Escape and the window's close button: a wizard asks first and then aborts.
    void reject() override;

protected:
    // Every control of the panel is asked by name; the first refusal fails the panel.
    virtual bool ValidatePanel(QWidget* panel);
    virtual bool ValidateControl(const QString& name);
    // After the bound controls were loaded.
    virtual void LoadHook() {}
    // Before anything is saved: false keeps the form open with nothing changed.
    virtual bool ReadyToSave() { return true; }
    // After the bound controls were saved into the settings object, before it is written.
    virtual void SaveHook() {}

    void showEvent(QShowEvent* event) override;
    TBaseRegistryClass& Settings() const { return settings_; }

private:
    struct Panel {
        QWidget* Widget = nullptr;
        int WizardOrder = 0;
        int TabOrder = 0;
        QString Title;
    };

    bool InMode(const Panel& panel) const;
    const Panel* PanelWithWizardOrder(int order) const;
    const Panel* PanelOf(const QWidget* widget) const;
    void LoadControls();
    void SaveControls();
    bool Save();
    void Finish();
    void Ok();
    void Step(int direction, const QString& lostMessage);
    void ShowPanel(const Panel* panel);
    void UpdateButtons();
    void FocusFirstControl(QWidget* panel);
    void ArrangeTabs();
    void TabChanged(int index);

    TBaseRegistryClass& settings_;
    bool wizardMode_ = true;
    bool prepared_ = false;
    std::vector<Panel> panels_;
    int currentStep_ = 0;
    bool onLastStep_ = false;
    QWidget* shownPanel_ = nullptr;
    int currentTab_ = -1;

    QLabel* titleLabel_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QWidget* blankPage_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace olv
