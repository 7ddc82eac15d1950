#include "scripts/GrabBaseClass.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

using Texts = std::vector<std::string>;

// Names of values match without regard to case (the script suite proves it), and lists that
// shrink and counts that are not numbers are proven by the city record and My Cities suites.
// The writer's layout is read to the byte by the tests of the files the program keeps; keys
// nested in keys, which none of them holds, go through the robustness tests' round trips.
// Text from a weather service, stored into one city of a file that holds two. A script is
// written one script line a line, unless that would lose its blanks or let it end early.
TEST(GrabBase, ValuesReadBackExactlyWhateverMarkupTheyHold) {
    const Texts values = {"</ForecastText0><Temperature>-99</Temperature>",
                          "<key =Swallow>",
                          "</key >",
                          "Partly Cloudy<br>",
                          "AT&T &amp; &lt; &#10; & <",
                          "two\r\nlines\n",
                          "script|grab a '</ForecastText0>'|",
                          "script|grab a '1'|end|",
                          "script| x |",
                          ""};
    GrabBaseClass store;
    store.SetList("/Boston", "ForecastText", values);
    store.SetValue("/Boston", "Temperature", "45");
    store.SetList("/Swallow", "T", {"50"});
    const std::string text = store.SaveToText();
    EXPECT_NE(
        text.find("\r\n    <ForecastText3>Partly Cloudy&lt;br&gt;</ForecastText3>\r\n    "
                  "<ForecastText4>AT&T &amp;amp; &amp;lt; &amp;#10; & &lt;</ForecastText4>\r\n"),
        std::string::npos);
    EXPECT_NE(text.find("\r\n    <ForecastText7>\r\n        script|\r\n        grab a '1'|\r\n"
                        "        end|\r\n    </ForecastText7>\r\n    <ForecastText8>script| x "
                        "|</ForecastText8>\r\n"),
              std::string::npos)
        << text;

    GrabBaseClass again;
    again.LoadFromText(text);
    Texts read;
    again.GetList("/Boston", "ForecastText", read);
    EXPECT_EQ(read, values);
    EXPECT_EQ(again.GetValue("/Boston", "Temperature") + again.GetValue("/Swallow", "T0"), "4550");
}

// Files written before values were escaped: links keep their "&", and markup that reached a
// value then stays in that value.
TEST(GrabBase, FilesWrittenBeforeReadTheSameAndConfineStrayMarkup) {
    GrabBaseClass store;
    store.LoadFromText("  <key =Boston>\r\n"
                       "    <Link>https://x.test/?lat=1&lon=2</Link>\r\n"
                       "    <Conditions>Partly Cloudy<br></Conditions>\r\n"
                       "    <F0>a</F0><Temperature>-99</Temperature></F0>\r\n"
                       "    <F1>b<key =Swallow></F1>\r\n"
                       "  </key >\r\n"
                       "  <key =Paris>\r\n"
                       "    <Temperature>50</Temperature>\r\n"
                       "  </key >\r\n");
    const GBItemClass& boston = *store.Root.Find("/Boston");
    EXPECT_EQ(boston.NV.Names(), (Texts{"Link", "Conditions", "F0", "F1"}));
    EXPECT_EQ(boston.NV.Values(),
              (Texts{"https://x.test/?lat=1&lon=2", "Partly Cloudy<br>",
                     "a</F0><Temperature>-99</Temperature>", "b<key =Swallow>"}));
    EXPECT_EQ(store.GetValue("/Paris", "Temperature"), "50");
}

// The times of these shapes are in bench/scripts/DataFileBench.cpp.
TEST(GrabBase, DeepNestingLongListsAndAbsurdCountsEndWithSoundResults) {
    std::string deep, path;
    for (int i = 0; i < 4000; ++i)
        deep += "<key n=L" + std::to_string(i) + "><V>" + std::to_string(i) + "</V>";
    GrabBaseClass store;
    EXPECT_FALSE(store.LoadFromText(deep)); // from a file, the message says so
    for (int i = 0; i < GBItemClass::kMaxKeyDepth; ++i)
        path += "/L" + std::to_string(i);
    EXPECT_EQ(store.GetValue(path, "V") + ";" + store.GetValue(path + "/L16", "V"), "15;");

    Texts periods(10000, "Sunny.");
    store.SetList("/City", "Other", {"kept"});
    store.SetList("/City", "ForecastText", periods);
    periods.resize(9000);
    store.SetList("/City", "ForecastText", periods);
    GBItemClass& city = *store.Root.Find("/City");
    EXPECT_EQ(city.NV.Count(), 9003); // no stale periods

    city.NV.Put("ForecastText", "2147483647");
    store.GetList("/City", "ForecastText", periods);
    EXPECT_EQ(periods.size(), 9003u); // no more items than entries
    store.SetList("/City", "ForecastText", {"Clear."});
    EXPECT_EQ(city.NV.Names(), (Texts{"Other", "Other0", "ForecastText", "ForecastText0"}));
    EXPECT_EQ(city.NV.Get("Other0"), "kept");
}

// Storing and reading values and lists through files is proven by the city record suite.
TEST(GrabBase, SettersChangeOnlyExistingNodesAndOddInputReadsSensibly) {
    GrabBaseClass store;
    store.AddKey("/", "United States|Texas|Austin");
    store.SetValue("/United States|Texas|Austin", "Temperature", "71");
    store.SetValue("/United States|Texas|Austin", "Temperature", ""); // keeps 71
    store.SetValue("/Missing", "Temperature", "1");                   // creates nothing
    EXPECT_EQ(store.SaveToText(), "  <key =United States|Texas|Austin>\r\n    "
                                  "<Temperature>71</Temperature>\r\n  </key >\r\n");
    std::string message;
    store.LoadFromFile("/nonexistent/none.chl", message);
    EXPECT_EQ(message, "File:/nonexistent/none.chl Not Found.");
    EXPECT_TRUE(store.Root.Children.empty());

    store.LoadFromText("  <A>1<B>2</B>  \n\t<key k=X>\r\n   <C>two\r\n words</C>\r</key k>");
    // A value without its closing tag is empty and reading goes on; lines are trimmed and joined.
    EXPECT_EQ(store.GetValue("/", "A") + ";" + store.GetValue("/", "B") + ";" +
                  store.GetValue("/X", "C"),
              ";2;twowords");
    store.LoadFromText("stray<A>1</A>more</B><B>2</B>>>><key name=Open><T>1</T>");
    EXPECT_EQ(store.Root.NV.Names(), (Texts{"A", "B"}));
    EXPECT_EQ(store.GetValue("/Open", "T"), "1");
    store.LoadFromText("<keyboard>x</keyboard>"); // taken for a key element
    EXPECT_EQ(store.Root.NV.Count(), 0);
}

TEST(GrabBase, RevisionIsFoundOnlyInTheFirstSixLines) {
    test::TempDir dir;
    dir.Write("r.chl", "<a>1</a>\r\n<Revision>2.5</Revision>\r\n");
    dir.Write("late.chl", "1\n2\n3\n4\n5\n6\n<REV>9.9</REV>\n");
    dir.Write("open.chl", "<rev>9.9\n");
    std::string revisions;
    for (const char* name : {"r.chl", "late.chl", "open.chl", "none.chl"})
        revisions += GrabBaseClass::GetRevision(dir.File(name)) + " ";
    EXPECT_EQ(revisions, "2.5 0.0 0.0 0.0 ");
}

} // namespace
} // namespace olv
