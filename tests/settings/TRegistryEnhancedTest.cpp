#include "settings/TRegistryEnhanced.h"

#include "SettingsFixture.h"
#include "settings/TBrkApart.h"

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

} // namespace
} // namespace olv
