// The text pre-processor: each step of Process, its switches in the settings file, its filter
// files, and its translation table.

#include "settings/SettingsFixture.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/ELookupTblException.h"
#include "speech/TPreProcessor.h"
#include "speech/support/SpeechTestSupport.h"
#include "util/EConvertError.h"

namespace olv::test {
namespace {

const char* const kSpeechKey = "Software\\HalvernWorks\\Olvenar\\BaseTTS";

// A temporary program folder (for the two filter files) and settings file.
class PreProcessorTest : public SettingsFixture {
protected:
    struct Case {
        const char* In;
        const char* Out;
    };
    void ExpectAll(std::initializer_list<Case> cases) const {
        for (const Case& c : cases)
            EXPECT_EQ(pre.Process(c.In), c.Out) << "input: " << c.In;
    }
    // A fresh settings object for the speech key, as the speech controller has.
    std::unique_ptr<TBaseRegistryClass> SpeechSettings() {
        auto settings = std::make_unique<TBaseRegistryClass>(store);
        settings->SetApplicationName("Olvenar\\BaseTTS");
        return settings;
    }
    TPreProcessor pre;
};

// With the built-in markers and translations, as on a first run.
TEST_F(PreProcessorTest, EachStepOfProcessWithTheBuiltInFilters) {
    pre.LoadFilters();
    const char* symbols = "a#b(c)*d+e/f<g>h[i]^j_k`l{m|n}o~p";
    ExpectAll({// Tag characters go; gaps of blank lines become pauses.
               {"a=b", "a b"},
               {"\\Pau=9999\\x", " Pau 9999 x"},
               {"One.\r\n\r\nTwo.", "One. \\Pau=0500\\Two."},
               {"a\n\nb", "a b"},
               {"a\n\n\nb", "a \\Pau=0500\\b"},
               {"a\n\n\n\n\nb", "a \\Pau=1000\\b"},
               // Quoted lines go with their pause; the quote's own line break counts.
               {"Hi\r\n> quoted\r\nBye", "Hi Bye"},
               {"Hi\r\n| piped\r\nIn article <1@x> said\r\nBye", "Hi Bye"},
               {"Hi\r\n\r\nJoe wrote in message\r\nBye", "Hi Bye"},
               {"Hi\n\n> q\n\n\nBye", "Hi \\Pau=0500\\Bye"},
               {"Hi\r\nin article <x\r\nJoe Wrote in message\r\nBye",
                "Hi in article <x Joe Wrote in message Bye"},
               {"Hi\r\n> quoted", "Hi > quoted"}, // a last line without a break stays
                                                  // Separator runs shrink.
               {"Hot!!!  Dry", "Hot! Dry"},
               {"5 - 10", "5- 10"},
               {"a, ;b", "a, b"},
               {"Done.  ", "Done.  "},
               // Translations replace whole words only.
               {"thx! thxx 2thx thx", "thanks! thxx 2thx thanks"},
               {"THX, Imo", "thanks, in my opinion"},
               {"pls-tia", "please-thanks in advance"},
               // Web links are shortened; the search goes on behind each.
               {"go.ftp://files.example.org/a", "go.files.example.org web link"},
               {"x abcdefghi://host", "x host"},
               {"x abcdefghij://host", "x abcdefghij://host"},
               {"abcdefghi://x y://z", "x z"},
               {"Visit www.example.com/a/b?x, then", "Visit w w w.example.com web link?x, then"},
               {"www.www.com", "w w w.w w w.com"},
               {"www.a.com\nsee 1/2", "w w w.a.com\nsee 1/2"},
               // News references go.
               {"news:a@b news:c@d.e end", "  end"},
               {"news: no address here", "news: no address here"},
               // Long runs of capitals are lower-cased; symbols stay unless filtered.
               {"ABCDE fine", "ABCDE fine"},
               {"ABC 123 DEF.", "abc 123 def."},
               {"\xC9"
                "COLE PUBLIQUE x",
                "\xC9"
                "cole publique x"},
               {symbols, symbols},
               // All steps in order: the capital opening "High" still belongs to the run.
               {"TODAY: SUNNY AND HOT. High 95.\r\n> an old quote\r\n\r\n\r\nDetails at "
                "http://www.weather.example/fc?id=5 thx!\r\nRef news:123@srv.example.org  done",
                "today: sunny and hot. high 95. \\Pau=1000\\Details at w w w.weather.example web "
                "link?id 5 thanks! Ref  done"}});
    pre.FilterSymbols = true;
    ExpectAll({{symbols, "a b c  d e f g h i  j k l m n o p"}, {"ABC-DEF x", "abc def x"}});
    pre.FilterSymbols = pre.UseUserTranslations = pre.CheckStartOfLine = false;
    ExpectAll({{"thx", "thx"}, {"> q\nJoe wrote in message\nx", "> q x"}});
    pre.CheckContaining = false;
    ExpectAll({{"> q\nJoe wrote in message\nx", "> q\nJoe wrote in message\nx"}});
}

// A later row sees what an earlier one inserted; a row never rescans its own value. Case is
// ignored for the letters of Latin-1 only.
TEST_F(PreProcessorTest, TranslationsApplyInTableOrderIgnoringTheCaseOfLetters) {
    pre.UserTranslations.Add("TX", "Texas", true);
    pre.UserTranslations.Add("a", "b c", false);
    pre.UserTranslations.Add("b", "bee", false);
    pre.UserTranslations.Add("x", "x x", false);
    pre.UserTranslations.Add("caf\xE9", "coffee", false);
    pre.UserTranslations.Add("\xD7", "times", false); // not the capital of the division sign
    pre.UserTranslations.Add("{", "brace", false);    // differs from "[" by 0x20, yet no letter
    ExpectAll({{"TX tx", "Texas tx"},
               {"a", "bee c"},
               {"x", "x x"},
               {"CAF\xC9 Caf\xE9", "coffee coffee"},
               {"2 \xF7 3 \xD7 4", "2 \xF7 3 times 4"},
               {"a [ b", "bee c [ bee"}});
}

TEST_F(PreProcessorTest, SwitchesAndFiltersRoundTripAndTranslationsNeverReachTheirOwnFile) {
    auto settings = SpeechSettings();
    pre.LoadSettings(*settings);
    EXPECT_FALSE(pre.FilterSymbols);
    EXPECT_TRUE(pre.CheckStartOfLine && pre.CheckContaining && pre.UseUserTranslations);
    EXPECT_EQ(dir.Read("UserTranslations.chl"), ""); // made, empty
    pre.FilterSymbols = true;
    pre.UseUserTranslations = false;
    pre.StartOfLineMarkers.push_back("--");
    pre.ContainingMarkers.push_back("unsubscribe");
    pre.UserTranslations.Add("mph", "miles per hour", true);
    EXPECT_TRUE(pre.SaveSettings(*settings));
    EXPECT_TRUE(settings->SaveAll());
    EXPECT_NE(StoreText().find("TTS_FilterSymbols=true"), std::string::npos);
    EXPECT_NE(StoreText().find("EnableUserTranslations=false"), std::string::npos);
    EXPECT_EQ(dir.Read("FilterOptions.chl"),
              "1~>\r\n1~|\r\n1~In article <\r\n1~--\r\n"
              "2~wrote in message\r\n2~unsubscribe\r\n"
              "3~tia~thanks in advance~F\r\n3~pls~please~F\r\n3~thx~thanks~F\r\n"
              "3~imo~in my opinion~F\r\n3~mph~miles per hour~T\r\n");

    // Loading again (as after a restart) neither declares twice nor doubles the lists.
    store.Reload();
    TPreProcessor again;
    again.LoadSettings(*settings);
    EXPECT_EQ(settings->Items().size(), 4u);
    EXPECT_TRUE(again.FilterSymbols);
    EXPECT_FALSE(again.UseUserTranslations);
    EXPECT_EQ(again.StartOfLineMarkers, pre.StartOfLineMarkers);
    EXPECT_EQ(again.UserTranslations.Count(), 4u);
    EXPECT_FALSE(again.UserTranslations.Exists("mph"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(PreProcessorTest, FilterFilesAreReadLenientlyAndDamageReachesTheCaller) {
    dir.Write("FilterOptions.chl",
              " 1 ~>>~ignored\r\n2~spam\n1~\n7~other\n\njunk\n3~k~v~T\n2~x\r\n");
    dir.Write("UserTranslations.chl",
              "1~NWS~the weather service~T\r\n 2 ~kph~kilometres an hour\r\n");
    pre.LoadFilters();
    EXPECT_EQ(pre.StartOfLineMarkers, (std::vector<std::string>{">>", ""}));
    EXPECT_EQ(pre.ContainingMarkers, (std::vector<std::string>{"spam", "x"}));
    EXPECT_EQ(pre.Process("NWS nws 40 KPH"), "the weather service nws 40 kilometres an hour");

    // A duplicate key, or a line that is not a row, ends loading; the rows before it stay.
    dir.Write("UserTranslations.chl", "1~a~A~F\n2~a~again~F\n");
    EXPECT_EQ(ErrorOf<ELookupTblException>([&] { pre.LoadFilters(); }),
              "Alternate pronunciation already exists for a");
    EXPECT_EQ(pre.UserTranslations.Count(), 1u);
    dir.Write("UserTranslations.chl", "1~b~B~F\n\n2~c~C~F\n");
    EXPECT_THROW(pre.LoadFilters(), EConvertError);
    EXPECT_TRUE(pre.UserTranslations.Exists("b") && !pre.UserTranslations.Exists("c"));

    // A folder where the file should be: the save fails as on a full disk, and says so.
    std::filesystem::remove(dir.File("FilterOptions.chl"));
    ASSERT_TRUE(MakeFolders(dir.File("FilterOptions.chl")));
    EXPECT_FALSE(pre.SaveFilters());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("speech filters could not be saved"), std::string::npos);
}

} // namespace
} // namespace olv::test
