// The automatic read settings: the seven rows over "Auto.chl", the timing of one item, and
// what OK and Cancel leave in the file.

#include "DialogTestSupport.h"
#include "app/dialogs/TAutoReadForm.h"
#include "app/dialogs/TEditAutoForm.h"
#include "scripts/GrabBaseClass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace olv::test {
namespace {

const std::string kBoston = "United States|Massachusetts|Boston";
const std::string kAustin = "United States|Texas|Austin";

class AutoReadFormTest : public DialogFixture {
protected:
    AutoReadFormTest() {
        // City2 reads Boston to a file; City3's city is no longer among My Cities; the
        // scheduler last read City2 at 0700.
        dir.Write("Auto.chl", "<key =City2><CityName>" + kBoston +
                                  "</CityName><Enabled>Y</Enabled><ToFile>Y</ToFile>"
                                  "<LastAuto>700</LastAuto></key >"
                                  "<key =City3><CityName>Europe|France|Nice</CityName>"
                                  "<Enabled>Y</Enabled><Period>45</Period></key >");
    }
    std::string Saved(const std::string& item, const char* name) const {
        GrabBaseClass store;
        std::string message;
        store.LoadFromFile(dir.File("Auto.chl"), message);
        return store.GetValue("/" + item, name);
    }
    // Opens "When to Read" of a row and lets step answer the item dialog.
    static void EditTiming(TAutoReadForm& form, int row, std::function<void(QWidget&)> step) {
        OnNextModal(std::move(step));
        form.WhenToRead(row);
    }
    static void Choose(QWidget& dialog, const char* combo, const QString& text) {
        Control<QComboBox>(dialog, combo)->setCurrentText(text);
    }

    const std::vector<std::string> keys = {kAustin, kBoston};
    const std::vector<std::string> names = {"Austin, Texas, United States",
                                            "Boston, Massachusetts, United States"};
};

TEST_F(AutoReadFormTest, RowsShowTheItemsAndTheirControlsFollowTheEnableBoxes) {
    TAutoReadForm form(keys, names);
    form.RowAt(0).Enable->setChecked(true);
    form.RowAt(3).Enable->setChecked(false);
    for (int row = 0; row < TAutoReadForm::kRowCount; ++row) {
        SCOPED_TRACE(row);
        const TAutoReadForm::Row& controls = form.RowAt(row);
        const bool enabled = row == 0 || row == 4; // City3 as stored, Summary1 switched on
        EXPECT_EQ(controls.Enable->isChecked(), enabled);
        EXPECT_EQ(controls.City != nullptr, row >= 2);
        for (QWidget* control : std::initializer_list<QWidget*>{
                 controls.WhatToRead, controls.City, controls.WhenToRead, controls.ToFile})
            EXPECT_TRUE(control == nullptr || control->isEnabled() == enabled);
    }
    EXPECT_TRUE(form.RowAt(3).ToFile->isChecked());
    EXPECT_EQ(form.RowAt(2).City->count(), 2);
    EXPECT_EQ(form.CityKeyOf(3), kBoston);
    EXPECT_EQ(form.CityKeyOf(4), kAustin); // a city removed from My Cities shows the first
}

// Cancel leaves the file byte for byte, whatever the item dialog was told; OK writes every
// row, keeps when each item last fired as the file has it then, and binds only enabled city
// rows to their drop-down's city.
TEST_F(AutoReadFormTest, OkWritesTheItemsAndCancelWritesNothing) {
    const std::string before = dir.Read("Auto.chl");
    {
        TAutoReadForm form(keys, names);
        EditTiming(form, 3, [](QWidget& dialog) {
            Control<QComboBox>(dialog, "TypeCombo")->setCurrentIndex(1);
            Click(dialog, "OK");
        });
        OnNextModal([](QWidget& dialog) { Click(dialog, "Cancel"); });
        EXPECT_EQ(form.exec(), QDialog::Rejected);
    }
    EXPECT_EQ(dir.Read("Auto.chl"), before);

    TAutoReadForm form(keys, names);
    EditTiming(form, 3, [](QWidget& dialog) {
        Control<QComboBox>(dialog, "TypeCombo")->setCurrentIndex(1);
        Choose(dialog, "AtHour", "7");
        Choose(dialog, "AtMinute", "30");
        Click(dialog, "OK");
    });
    EditTiming(form, 4, [](QWidget& dialog) {
        Choose(dialog, "PeriodCombo", "90");
        Click(dialog, "Cancel");
    });
    EditTiming(form, 5, [](QWidget& dialog) {
        Choose(dialog, "PeriodCombo", "90");
        Click(dialog, "OK");
    });
    form.RowAt(3).City->setCurrentIndex(0);
    form.RowAt(5).Enable->setChecked(false);
    form.RowAt(0).Enable->setChecked(true);
    form.RowAt(0).ToFile->setChecked(true);
    // The scheduler reads City2 at 0800 while the form is open.
    std::string fired = before;
    fired.replace(fired.find("700"), 3, "800");
    dir.Write("Auto.chl", fired);
    OnNextModal([](QWidget& dialog) { Click(dialog, "OK"); });
    EXPECT_EQ(form.exec(), QDialog::Accepted);

    EXPECT_EQ(Saved("City2", "AutoType") + Saved("City2", "atTime"), "atSpecific730");
    EXPECT_EQ(Saved("City2", "CityName"), kAustin);
    EXPECT_EQ(Saved("City2", "LastAuto"), "800");
    EXPECT_EQ(Saved("City3", "Period"), "45");
    EXPECT_EQ(Saved("City3", "CityName"), kAustin);
    EXPECT_EQ(Saved("City4", "Period") + Saved("City4", "Enabled"), "90N");
    EXPECT_EQ(Saved("Summary1", "Enabled") + Saved("Summary1", "ToFile"), "YY");
    std::vector<std::string> names;
    AutoItemClass::ListItemNames("", names);
    EXPECT_EQ(names.size(), 7u);
}

TEST_F(AutoReadFormTest, TheItemDialogEnablesWhatItsTypeUses) {
    AutoItemClass item;
    item.LoadItem("City3", kBoston);
    item.TimeLimitEnabled = true;
    item.StartTime = 2200;
    item.EndTime = 635;
    TEditAutoForm dialog;
    dialog.Prepare(item, kBoston);
    EXPECT_EQ(Control<QLabel>(dialog, "CityNameLabel")->text(), "Boston. Massachusetts");
    EXPECT_EQ(Control<QComboBox>(dialog, "PeriodCombo")->currentText(), "45"); // kept
    EXPECT_EQ(Control<QComboBox>(dialog, "EndHour")->currentText() + ":" +
                  Control<QComboBox>(dialog, "EndMinute")->currentText(),
              "6:35");
    const auto enabled = [&](const char* name) {
        return Control<QWidget>(dialog, name)->isEnabled();
    };
    EXPECT_TRUE(enabled("PeriodCombo") && enabled("TimeLimitBox") && enabled("StartHour"));
    EXPECT_FALSE(enabled("AtHour"));
    Control<QCheckBox>(dialog, "TimeLimitBox")->setChecked(false);
    EXPECT_FALSE(enabled("StartHour") || enabled("EndMinute"));
    Control<QCheckBox>(dialog, "TimeLimitBox")->setChecked(true);

    // Specific time: the window's controls stay off although the stored window is on, and it
    // is saved back as it was.
    Control<QComboBox>(dialog, "TypeCombo")->setCurrentIndex(1);
    EXPECT_FALSE(enabled("PeriodCombo") || enabled("TimeLimitBox") || enabled("StartHour"));
    EXPECT_TRUE(enabled("AtHour") && enabled("AtMinute"));
    Click(dialog, "OK");
    EXPECT_TRUE(item.Enabled && item.TimeLimitEnabled);
    EXPECT_EQ(item.EndTime, 635);
}

// Without My Cities the city drop-downs are empty and an enabled city row keeps its city.
TEST_F(AutoReadFormTest, WithoutMyCitiesCityRowsKeepTheirCities) {
    TAutoReadForm form({}, {});
    EXPECT_EQ(form.RowAt(2).City->count(), 0);
    EXPECT_EQ(form.CityKeyOf(3), "");
    form.RowAt(1).Enable->setChecked(true);
    OnNextModal([](QWidget& dialog) { Click(dialog, "OK"); });
    form.exec();
    EXPECT_EQ(Saved("City2", "CityName"), kBoston);
    EXPECT_EQ(Saved("Summary2", "Enabled"), "Y");
}

} // namespace
} // namespace olv::test
