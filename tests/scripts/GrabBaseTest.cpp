#include "scripts/GrabBaseClass.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

// Lists that shrink and counts that are not numbers are proven by the city record and My
// Cities suites, which store their lists here.
TEST(NVList, NamesMatchWithoutCaseKeepTheirFirstSpellingAndSurviveRemovals) {
    NVListClass list;
    list.Put("Temp", "71");
    list.Put("temp", "5");
    list.Put("B", "");
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"Temp", "B"}));
    EXPECT_EQ(list.Get("TEMP"), "5");
    list.Remove("temp");
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.Has("b")); // found at its new place
    EXPECT_FALSE(list.Has("temp"));
}

TEST(GrabBase, ReadsRootValuesAndTopLevelKeys) {
    GrabBaseClass store;
    store.LoadFromText("<Revision>1.3</Revision><key name=Texas><Temp>71</Temp></key name>");
    EXPECT_EQ(store.GetValue("/", "Revision"), "1.3");
    ASSERT_EQ(store.Root.Children.size(), 1u);
    const GBItemClass& texas = *store.Root.Children[0];
    EXPECT_EQ(texas.Name, "Texas");
    EXPECT_EQ(texas.Keyword, "name");
    EXPECT_EQ(texas.Path, "/Texas");
    EXPECT_EQ(texas.Level, 1);
    EXPECT_EQ(store.GetValue("/Texas", "Temp"), "71");
    EXPECT_EQ(store.GetValue("/Nowhere", "Temp"), "");
}

TEST(GrabBase, NestedKeysBecomeNestedChildrenAndAreWrittenByteForByte) {
    GrabBaseClass store;
    store.LoadFromText("<key n=A><V>1</V><key n=B><W>2</W></key n><X>3</X></key n><Y>4</Y>");
    EXPECT_EQ(store.GetValue("/A", "V"), "1");
    EXPECT_EQ(store.GetValue("/A/B", "W"), "2");
    EXPECT_EQ(store.GetValue("/A", "X"), "3");
    EXPECT_EQ(store.GetValue("/", "Y"), "4");
    EXPECT_EQ(store.SaveToText(), "<Y>4</Y>\r\n"
                                  "  <key n=A>\r\n"
                                  "    <V>1</V>\r\n"
                                  "    <X>3</X>\r\n"
                                  "    <key n=B>\r\n"
                                  "      <W>2</W>\r\n"
                                  "    </key n>\r\n"
                                  "  </key n>\r\n");
}

TEST(GrabBase, ScriptValuesAreWrittenAsBlocksAndReadBackUnchanged) {
    test::TempDir dir;
    GrabBaseClass store;
    store.Root.NV.Put("WUFore", "script|grab a '1'|end|");
    store.Root.NV.Put("Plain", "a<b>c");
    std::string message;
    store.SaveToFile(dir.File("Olvenar.chl"), message);
    EXPECT_EQ(dir.Read("Olvenar.chl"), "<WUFore>\r\n"
                                       "    script|\r\n"
                                       "    grab a '1'|\r\n"
                                       "    end|\r\n"
                                       "</WUFore>\r\n"
                                       "<Plain>a<b>c</Plain>\r\n");
    GrabBaseClass again;
    again.LoadFromFile(dir.File("Olvenar.chl"), message);
    EXPECT_EQ(message, "");
    EXPECT_EQ(again.GetValue("/", "WUFore"), "script|grab a '1'|end|");
    EXPECT_EQ(again.GetValue("/", "Plain"), "a<b>c");
}

TEST(GrabBase, RoundTripOfKeysListsAndValues) {
    test::TempDir dir;
    GrabBaseClass store;
    store.AddKey("/", "United States|Texas|Austin");
    store.SetValue("/United States|Texas|Austin", "Temperature", "71");
    store.SetValue("/United States|Texas|Austin", "Temperature", ""); // keeps 71
    store.SetValue("/Missing", "Temperature", "1");                   // creates nothing
    store.SetList("/Cities", "City", {"Austin", "Boston"});           // creates the key
    std::string message;
    store.SaveToFile(dir.File("d.chl"), message);

    GrabBaseClass again;
    again.LoadFromFile(dir.File("d.chl"), message);
    EXPECT_EQ(again.GetValue("/United States|Texas|Austin", "Temperature"), "71");
    std::vector<std::string> names;
    again.GetChildNames("/", names);
    EXPECT_EQ(names, (std::vector<std::string>{"United States|Texas|Austin", "Cities"}));
    std::vector<std::string> cities;
    again.GetList("/Cities", "City", cities);
    EXPECT_EQ(cities, (std::vector<std::string>{"Austin", "Boston"}));
    EXPECT_EQ(again.SaveToText(), store.SaveToText());

    again.LoadFromFile(dir.File("none.chl"), message);
    EXPECT_EQ(message, "File:" + dir.File("none.chl") + " Not Found.");
    EXPECT_TRUE(again.Root.Children.empty());
    EXPECT_EQ(again.Root.NV.Count(), 0);
}

TEST(GrabBase, LinesAreTrimmedAndJoinedWhateverTheirEnds) {
    GrabBaseClass store;
    store.LoadFromText("  <A>1</A>  \n\t<key k=X>\r\n   <B>two\r\n words</B>\r</key k>");
    EXPECT_EQ(store.GetValue("/", "A"), "1");
    EXPECT_EQ(store.GetValue("/X", "B"), "twowords");
}

TEST(GrabBase, MalformedInputTerminatesWithSensibleResults) {
    GrabBaseClass store;
    store.LoadFromText("<A>1<B>2</B>");
    EXPECT_EQ(store.GetValue("/", "A"), ""); // no closing tag: empty, reading continues
    EXPECT_EQ(store.GetValue("/", "B"), "2");

    store.LoadFromText("<key name=Open><T>1</T>");
    ASSERT_EQ(store.Root.Children.size(), 1u);
    EXPECT_EQ(store.GetValue("/Open", "T"), "1");

    store.LoadFromText("stray<A>1</A>more<B>2</B>>>><<<");
    EXPECT_EQ(store.GetValue("/", "A"), "1");
    EXPECT_EQ(store.GetValue("/", "B"), "2");

    store.LoadFromText("<keyboard>x</keyboard>"); // taken for a key element
    EXPECT_EQ(store.Root.NV.Count(), 0);

    store.LoadFromText("");
    EXPECT_EQ(store.Root.NV.Count(), 0);
}

TEST(GrabBase, RevisionIsFoundOnlyInTheFirstSixLines) {
    test::TempDir dir;
    dir.Write("r.chl", "<a>1</a>\r\n<Revision>2.5</Revision>\r\n");
    EXPECT_EQ(GrabBaseClass::GetRevision(dir.File("r.chl")), "2.5");
    dir.Write("late.chl", "1\n2\n3\n4\n5\n6\n<REV>9.9</REV>\n");
    EXPECT_EQ(GrabBaseClass::GetRevision(dir.File("late.chl")), "0.0");
    dir.Write("open.chl", "<rev>9.9\n");
    EXPECT_EQ(GrabBaseClass::GetRevision(dir.File("open.chl")), "0.0");
    EXPECT_EQ(GrabBaseClass::GetRevision(dir.File("none.chl")), "0.0");
}

} // namespace
} // namespace olv
