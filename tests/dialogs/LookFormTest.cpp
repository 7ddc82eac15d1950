// The appearance dialog over the program's settings in a temporary settings file.

#include "DialogTestSupport.h"
#include "app/dialogs/TOVLookForm.h"
#include "settings/OlvenarRegistryClass.h"

#include <QSignalSpy>

namespace olv::test {
namespace {

using Colours = std::array<std::string, 6>;

class LookFormTest : public DialogFixture {
protected:
    LookFormTest() { settings.LoadAll(); }

    Colours StoredColours() {
        RegistryStore file(StoreFile());
        OlvenarRegistryClass reread(file);
        reread.LoadAll();
        Colours colours;
        for (size_t i = 0; i < colours.size(); ++i)
            colours[i] = reread.GetValue(TOVLookForm::kColourItems[i]).AsString();
        return colours;
    }

    OlvenarRegistryClass settings{store};
};

TEST_F(LookFormTest, EveryPresetIsStoredAndReadBackInItsOwnColourTexts) {
    const Colours presets[] = {
        {"clWhite", "clWhite", "clWhite", "clBlack", "clBlack", "clBlack"},
        {"clBlack", "clBlack", "clBlack", "clWhite", "clWhite", "clWhite"},
        {"128", "4227327", "128", "16777215", "65408", "65535"},
        {"$00004000", "$00004000", "clGreen", "$0000FF80", "$0080FFFF", "clLime"},
        {"$00800040", "$00FF0080", "$00800040", "clWhite", "clWhite", "clWhite"},
    };
    for (int scheme = 0; scheme < 5; ++scheme) {
        SCOPED_TRACE(scheme);
        TOVLookForm form(settings);
        form.ApplyScheme(scheme);
        Click(form, "OK");
        settings.SaveAll(); // as the window does when it closes
        EXPECT_EQ(StoredColours(), presets[scheme]);
        EXPECT_EQ(TOVLookForm(settings).Colours(), presets[scheme]);
    }
}

// (That Cancel changes nothing the window's tests check.)
TEST_F(LookFormTest, ChangesReachTheSettingsThroughOk) {
    TOVLookForm form(settings);
    std::optional<QColor> picked = QColor(128, 0, 255);
    form.PickColour = [&](QWidget*, const QColor&, const QString&) { return picked; };
    form.PickFont = [](QWidget*, const QFont&) { return QFont("DejaVu Serif", 14); };
    form.ChangeColour(1);
    picked = std::nullopt; // cancelled: the colour stays
    form.ChangeColour(2);
    picked = QColor(255, 0, 0);
    form.ChangeTrayFontColour();
    form.ChangeTrayFont();
    EXPECT_EQ(form.Colours()[2], "clNavy");
    EXPECT_EQ(form.TrayFontName(), "DejaVu Serif");
    EXPECT_EQ(settings.GetValue("PanelColorEnd").AsString(), "clBlue"); // not before OK
    QSignalSpy changed(&form, &TOVLookForm::AppearanceChanged);
    Click(form, "OK");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(settings.GetValue("PanelColorEnd").AsString(), "$00FF0080");
    EXPECT_EQ(settings.GetValue("TrayFontColor").AsString(), "clRed");
    EXPECT_EQ(settings.GetValue("TrayFontSize").AsInt(), 14);
    EXPECT_FALSE(FileExists(StoreFile())); // the window writes them when it closes
}

TEST_F(LookFormTest, TheDefaultSchemeKeepsEarlierChangesAndRemovesTheSixColours) {
    settings.SetValue("ValueColor", "clRed");
    settings.SaveAll();
    settings.SetValue("ProxyHost", "proxy.example"); // changed earlier in this run
    TOVLookForm form(settings);
    form.ApplyScheme(TOVLookForm::kDefaultScheme);
    EXPECT_EQ(form.Colours(),
              (Colours{"clNavy", "clBlue", "clNavy", "clwhite", "clYellow", "clYellow"}));
    Click(form, "OK");
    EXPECT_EQ(Stored("ProxyHost"), "proxy.example");
    for (const char* item : TOVLookForm::kColourItems)
        EXPECT_FALSE(store.FindValue("Software\\HalvernWorks\\Olvenar", item)) << item;
    EXPECT_EQ(settings.GetValue("ValueColor").AsString(), "clYellow");
    EXPECT_EQ(settings.GetValue("TrayFontName").AsString(), "System");
}

TEST_F(LookFormTest, AHardToReadSchemeIsAllowedButNamed) {
    TOVLookForm form(settings);
    form.ApplyScheme(2); // white labels and light green values on orange
    EXPECT_EQ(form.ReadabilityWarning().toStdString(),
              "Some text will be hard to read with these colours (contrast under 3:1): values "
              "on the end colour, labels on the end colour.");
    form.ApplyScheme(3);
    EXPECT_TRUE(form.ReadabilityWarning().isEmpty());
    form.ApplyScheme(2);
    Click(form, "OK");
    EXPECT_EQ(settings.GetValue("PanelColorEnd").AsString(), "4227327");
}

} // namespace
} // namespace olv::test
