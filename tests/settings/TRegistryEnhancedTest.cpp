#include "settings/TRegistryEnhanced.h"

#include "SettingsFixture.h"
#include "settings/TBrkApart.h"
#include "settings/Variant.h"

namespace olv {
namespace {

using StringList = std::vector<std::string>;

StringList Split(const std::string& text, const std::string& breakString, bool allowEmpty) {
    TBrkApart parts;
    parts.BaseString = text;
    parts.BreakString = breakString;
    parts.AllowEmptyString = allowEmpty;
    parts.Split();
    return parts.StringList;
}

TEST(TBrkApart, SplitsAtEveryBreak) {
    EXPECT_EQ(Split("\\Software\\\\HalvernWorks\\", "\\", false),
              (StringList{"Software", "HalvernWorks"}));
    EXPECT_EQ(Split("\\a\\\\b\\", "\\", true), (StringList{"", "a", "", "b", ""}));
    EXPECT_EQ(Split("one--two--", "--", false), (StringList{"one", "two"}));
    EXPECT_EQ(Split("no break", "", false), (StringList{"no break"}));
    EXPECT_EQ(Split("", "\\", false), StringList{});
    EXPECT_EQ(Split("", "\\", true), StringList{""});
}

TEST(Variant, ConversionsNeverThrow) {
    EXPECT_EQ(Variant("  42 ").AsInt(), 42);
    EXPECT_EQ(Variant("forty").AsInt(7), 7);
    EXPECT_EQ(Variant(2.5).AsInt(), 3);
    EXPECT_EQ(Variant(1e12).AsInt(-1), -1);
    EXPECT_EQ(Variant(true).AsInt(), 1);
    EXPECT_EQ(Variant().AsInt(9), 9);

    EXPECT_DOUBLE_EQ(Variant("2.25").AsReal(), 2.25);
    EXPECT_DOUBLE_EQ(Variant("2,25").AsReal(), 2.25); // written under a decimal-comma locale
    EXPECT_DOUBLE_EQ(Variant("1,000.5").AsReal(-1), -1);
    EXPECT_DOUBLE_EQ(Variant(3).AsReal(), 3.0);

    EXPECT_TRUE(Variant("TRUE").AsBool());
    EXPECT_FALSE(Variant("yes").AsBool());
    EXPECT_FALSE(Variant("1").AsBool());
    EXPECT_TRUE(Variant(5).AsBool());

    EXPECT_EQ(Variant(0.1).AsString(), "0.1");
    EXPECT_EQ(Variant(-12).AsString(), "-12");
    EXPECT_EQ(Variant(false).AsString(), "false");
    EXPECT_EQ(Variant().AsString(), "");
    EXPECT_NE(Variant(1), Variant("1"));
}

using TRegistryEnhancedTest = test::SettingsFixture;

TEST_F(TRegistryEnhancedTest, ValuePathsSplitIntoSubkeysBelowTheBaseKey) {
    TRegistryEnhanced registry(store);
    registry.Key = "\\Software\\HalvernWorks\\";
    registry.WriteValue("Olvenar\\\\List\\0", "first");
    registry.WriteValue("\\Top", "root value");
    std::string text;
    EXPECT_TRUE(store.ReadString("Software\\HalvernWorks\\Olvenar\\List", "0", text));
    EXPECT_EQ(text, "first");
    EXPECT_TRUE(store.ReadString("Software\\HalvernWorks", "Top", text));
    EXPECT_EQ(registry.ValueNames("Olvenar\\List"), StringList{"0"});
    EXPECT_TRUE(registry.DeleteValue("Olvenar\\List\\0"));
    EXPECT_FALSE(registry.DeleteValue("Olvenar\\List\\0"));
    EXPECT_TRUE(registry.ValueNames("Olvenar\\List").empty());
    EXPECT_TRUE(registry.ValueNames("No\\Such\\Key").empty());
}

TEST_F(TRegistryEnhancedTest, ReadsByTypeAndFallsBackToTheDefault) {
    TRegistryEnhanced registry(store);
    registry.Key = "Software";
    registry.WriteValue("Text", "abc");
    registry.WriteValue("Number", 12);
    registry.WriteValue("Flag", true);
    registry.WriteValue("Real", 0.5);
    store.WriteString("Software", "Kept", "x");
    WriteStoreFile(store.ToText() + "binary:Blob=00ff\n");
    store.Reload();

    EXPECT_EQ(registry.ReadValue("Text", "d"), Variant("abc"));
    EXPECT_EQ(registry.ReadValue("Number", "d"), Variant(12));
    EXPECT_EQ(registry.ReadValue("Flag", "d"), Variant(1));
    EXPECT_EQ(registry.ReadValue("Real", "d"), Variant("0.5"));
    EXPECT_EQ(registry.ReadValue("Blob", "d"), Variant("d"));
    EXPECT_EQ(registry.ReadValue("Missing", 3), Variant(3));
    EXPECT_EQ(registry.ReadValue("NoKey\\Text", "d"), Variant("d"));

    // Only the current user's hive is backed, and read access takes no writes.
    TRegistryEnhanced machine(store);
    machine.RootKey = TRegistryEnhanced::hkLocalMachine;
    machine.Key = "Software";
    EXPECT_EQ(machine.ReadValue("Text", "d"), Variant("d"));
    TRegistryEnhanced reader(store);
    reader.Access = TRegistryEnhanced::kRead;
    reader.WriteValue("Software\\Text", "changed");
    EXPECT_EQ(reader.ReadValue("Software\\Text", "d"), Variant("abc"));
}

} // namespace
} // namespace olv
