// The rules behind what the window shows, checked without building the window: the main
// panel's texts, status texts, keys and recent cities, gauges, colours, the tray icon,
// the hint and tip windows, and the start switches.

#include "AppTestSupport.h"
#include "app/CityDisplay.h"
#include "app/CityKeys.h"
#include "app/GaugeAnimation.h"
#include "app/SpeechProgress.h"
#include "app/StartUp.h"
#include "app/THintForm.h"
#include "app/TTipForm.h"
#include "app/TipOfTheDay.h"
#include "app/TrayIcon.h"
#include "settings/OlvenarRegistryClass.h"
#include "weather/CityDataClass.h"

namespace olv {
namespace {

using test::kBoston;

CityDataClass Boston() {
    CityDataClass city(kBoston);
    city.Name = "Boston";
    city.Temperature = "45";
    city.DewPoint = "30";
    city.Humidity = "52";
    city.Wind = "NW at 10 mph";
    city.Pressure = "30.12";
    city.Conditions = "Partly Cloudy";
    city.Visibility = "10";
    city.ForecastTime = "4:10 PM EST";
    city.ForecastHeader = {"Tonight\t"};
    city.ForecastText = {"Clear,\n low\t28."};
    return city;
}

TEST(CityDisplay, MainPanelTextsInBothUnits) {
    const CityDisplay imperial = DescribeCity(Boston(), false);
    EXPECT_EQ(imperial.Caption, "Boston, Massachusetts, United States");
    EXPECT_EQ(imperial.Temperature, 45);
    EXPECT_EQ(imperial.Bearing, 315);
    EXPECT_EQ(imperial.WindSpeed + " " + imperial.WindDirection, "10 NW");
    EXPECT_EQ(imperial.DewPoint + " " + imperial.Pressure + " " + imperial.Visibility,
              "30 30.12 10");
    ASSERT_EQ(imperial.Forecast.size(), 1u);
    EXPECT_EQ(imperial.Forecast[0].Header + "|" + imperial.Forecast[0].Text,
              "Tonight|Clear, low28.");
    EXPECT_EQ(imperial.TrayTip, "Boston - Partly Cloudy, 45 degrees");

    const CityDisplay metric = DescribeCity(Boston(), true);
    EXPECT_EQ(metric.Temperature, 7);
    // (The conversions themselves are the weather suite's.)
    EXPECT_EQ(metric.DewPoint + " " + metric.Pressure + " " + metric.WindSpeed, "-1 1020 16");

    CityDataClass zip("ZIP:90210");
    zip.Name = "Beverly Hills";
    zip.Temperature = "N/A";
    zip.Wind = "Variable at N/A mph";
    const CityDisplay shown = DescribeCity(zip, true);
    EXPECT_EQ(shown.Caption, "Beverly Hills");
    EXPECT_FALSE(shown.TemperatureKnown); // not -10, as the reckoning with it takes it
    EXPECT_EQ(ShownTemperature(zip, true), "?");
    EXPECT_EQ(shown.WindSpeed + " " + shown.WindDirection, "? Var.");
    zip.Wind = "Calm";
    EXPECT_EQ(DescribeCity(zip, false).WindDirection, "Calm");
}

TEST(StatusTexts, SpeechProgress) {
    SpeechProgress progress;
    progress.Begin("Good morning. \\Pau=500\\ It is  minus 5 degrees.");
    EXPECT_EQ(progress.WordCount(), 7u); // the pause tag is no word
    EXPECT_EQ(progress.Text(0), "Speaking 1 of 7 words. (14%)");
    EXPECT_EQ(progress.Text(26), "Speaking 3 of 7 words. (43%)");
    EXPECT_EQ(progress.Text(1000), "Speaking 7 of 7 words. (100%)");
    EXPECT_EQ(SpeechProgress::ConvertingText(1, 3), "Converting to MP3 1 of 3. (33%)");
}

TEST(CityKeys, GlobalAndZipKeysAndTheRecentCities) {
    EXPECT_EQ(CityKeys::GlobalKey("United States (by List)", "Guam", "Hagatna"),
              "United States|Guam|Hagatna");
    EXPECT_EQ(CityKeys::ZipKey("abcde"), "ZIP:abcde"); // five letters pass
    EXPECT_EQ(CityKeys::ZipKey("0213"), "");
    EXPECT_EQ(ThreePartName("ZIP:02134"), "ZIP code 02134");

    std::vector<std::string> recent;
    for (int i = 0; i < 11; ++i)
        CityKeys::RememberRecent(recent, "k" + std::to_string(i));
    CityKeys::RememberRecent(recent, "k5");
    ASSERT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent.front(), "k1");
    EXPECT_EQ(recent.back(), "k10");
}

TEST(GaugeAnimation, StepsUntilBothGaugesRest) {
    GaugeAnimation gauges;
    gauges.SetTargets(2, 112.5); // "ESE"
    int ticks = 0;
    while (gauges.Step())
        ++ticks;
    EXPECT_EQ(gauges.Temperature(), 2);
    EXPECT_EQ(gauges.Bearing(), 110); // within 3 degrees of its target it rests
    EXPECT_EQ(ticks, 44);
    gauges.SetTargets(-1, 107.5);
    while (gauges.Step())
        ++ticks;
    EXPECT_EQ(ticks, 47);
    EXPECT_EQ(gauges.Temperature(), -1);
    EXPECT_EQ(gauges.Bearing(), 110);
}

TEST(TrayIcon, PictureTextAndTip) {
    OlvenarRegistryClass settings;
    settings.LoadAll();
    EXPECT_EQ(TrayIcon::IconText(""), "??\xB0");
    EXPECT_EQ(TrayIcon::IconText("-10"), "-10\xB0");
    const QImage picture = TrayIcon::Picture("45\xB0", settings);
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(picture.pixel(31, 31)), 0); // white is transparent
    int ink = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ink += qAlpha(picture.pixel(x, y)) != 0 && picture.pixelColor(x, y) != Qt::white;
    EXPECT_GT(ink, 20); // the text is drawn in clBlack

    TrayIcon tray;
    tray.SetTip(std::string(70, 'x'));
    EXPECT_EQ(tray.Tip().size(), 63u);
}

TEST(HintForm, RowsBandsAndPlace) {
    const std::vector<THintForm::Row> rows = THintForm::Layout(
        {{kBoston, "Boston, Massachusetts, United States", "45", "52", "Sunny", ""},
         {"ZIP:90210", "Beverly Hills", "-10", "", "Click Update All to Load", ""},
         {"x", "Paris, France, Europe", "104", "", "Rain", ""}});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].City + "|" + rows[0].Temperature + "|" + rows[0].Conditions,
              "Boston|  45\xB0|Sunny");
    EXPECT_EQ(rows[1].Temperature, " -10\xB0");
    EXPECT_EQ(rows[2].Temperature, " 104\xB0");
    EXPECT_EQ(rows[1].Y, 27);
    EXPECT_TRUE(!rows[0].Band && rows[1].Band && !rows[2].Band);
    EXPECT_EQ(THintForm::HeightFor(3), 62);
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(THintForm::Place({1000, 760}, {200, 60}, screen), QPoint(783, 667));
    EXPECT_EQ(THintForm::Place({5, 5}, {200, 60}, screen), QPoint(40, 40));
}

TEST(TipForm, PlaceOverTheMainWindow) {
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(TTipForm::Place({100, 100, 638, 450}, {400, 200}, screen), QPoint(219, 324));
    // Past the right and bottom edges: moved left by its width and up by its height.
    EXPECT_EQ(TTipForm::Place({700, 700, 638, 450}, {400, 200}, screen), QPoint(419, 724));
}

class Tips : public test::AppFixture {};

TEST_F(Tips, ShownInTurnStartingAgainPastTheLast) {
    home.Write("tips.chl", "<tips>2</tips><tips0>First</tips0><tips1>Second</tips1>");
    OlvenarRegistryClass settings;
    TipOfTheDay tips(settings);
    EXPECT_EQ(tips.Next(), "First");
    EXPECT_EQ(tips.Next(), "Second");
    EXPECT_EQ(tips.Next(), "First");
    settings.WriteExeValue("NextTip", " 7 ");
    EXPECT_EQ(tips.Next(), "First");
    EXPECT_EQ(settings.ReadExeValue("NextTip"), "1");

    EXPECT_TRUE(StartUp::ShowsTipAtStart(StartSwitch::Conditions, settings)); // missing: "Y"
    EXPECT_FALSE(StartUp::ShowsTipAtStart(StartSwitch::Auto, settings));
    tips.SetShowAtStartup(false);
    EXPECT_FALSE(StartUp::ShowsTipAtStart(StartSwitch::None, settings));
}

TEST(StartUp, OnlyTheFirstArgumentCountsExactly) {
    const std::pair<QStringList, StartSwitch> cases[] = {
        {{"olvenar"}, StartSwitch::None},
        {{"olvenar", "-auto"}, StartSwitch::Auto},
        {{"olvenar", "-conditions", "-auto"}, StartSwitch::Conditions},
        {{"olvenar", "-forecast"}, StartSwitch::Forecast},
        {{"olvenar", "-summary"}, StartSwitch::Summary},
        {{"olvenar", "-Auto"}, StartSwitch::None},
        {{"olvenar", "x", "-auto"}, StartSwitch::None},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(StartUp::SwitchOf(arguments), expected) << arguments.join(' ').toStdString();
}

} // namespace
} // namespace olv
