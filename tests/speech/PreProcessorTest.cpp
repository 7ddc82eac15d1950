// The text pre-processor: each step of Process, its switches in the settings file, its filter
// files, and its translation table.

#include "settings/SettingsFixture.h"
#include "settings/TBaseRegistryClass.h"
#include "speech/ELookupTblException.h"
#include "speech/TLookupTable.h"
#include "speech/TPreProcessor.h"
#include "speech/support/SpeechTestSupport.h"
#include "util/EConvertError.h"

#include <filesystem>
#include <memory>
#include <random>
#include <unistd.h>

namespace olv::test {
namespace {

const char* const kSpeechKey = "Software\\HalvernWorks\\Olvenar\\BaseTTS";

// A temporary program folder (for the two filter files) and settings file.
class PreProcessorTest : public SettingsFixture {
protected:
    // A fresh settings object for the speech key, as the speech controller has.
    std::unique_ptr<TBaseRegistryClass> SpeechSettings() {
        auto settings = std::make_unique<TBaseRegistryClass>(store);
        settings->SetApplicationName("Olvenar\\BaseTTS");
        return settings;
    }
};

// Processing with the built-in markers and translations, as on a first run.
class ProcessTest : public PreProcessorTest {
protected:
    struct Case {
        const char* In;
        const char* Out;
    };

    ProcessTest() { pre.LoadFilters(); }
    void ExpectAll(std::initializer_list<Case> cases) const {
        for (const Case& c : cases)
            EXPECT_EQ(pre.Process(c.In), c.Out) << "input: " << c.In;
    }

    TPreProcessor pre;
};

// ---- Process, step by step ---------------------------------------------------------------------

TEST_F(ProcessTest, TagCharactersGoAndBlankLineGapsBecomePauses) {
    ExpectAll({{"", ""},
               {"a=b", "a b"},
               {"\\Pau=9999\\x", " Pau 9999 x"},
               {"One.\r\nTwo.", "One. Two."},
               {"One.\r\n\r\nTwo.", "One. \\Pau=0500\\Two."},
               {"One.\r\n\r\n\r\nTwo.", "One. \\Pau=1000\\Two."},
               {"a\n\nb", "a b"},
               {"a\n\n\nb", "a \\Pau=0500\\b"},
               {"a\n\n\n\nb", "a \\Pau=0500\\b"},
               {"a\n\n\n\n\nb", "a \\Pau=1000\\b"},
               {"\n\n\nHi", " \\Pau=0500\\Hi"}});
}

TEST_F(ProcessTest, QuotedLinesGoWithTheirPause) {
    ExpectAll({{"Hi\r\n> quoted\r\nBye", "Hi Bye"},
               {"Hi\r\n| piped\r\nIn article <1@x> said\r\nBye", "Hi Bye"},
               {"Hi\r\n\r\n> quoted\r\nBye", "Hi Bye"},
               {"Hi\r\n\r\nJoe wrote in message\r\nBye", "Hi Bye"},
               // The quote's own line break counts towards the gap after it.
               {"Hi\n\n> q\n\n\nBye", "Hi \\Pau=0500\\Bye"},
               // Exact comparison.
               {"Hi\r\nin article <x\r\nJoe Wrote in message\r\nBye",
                "Hi in article <x Joe Wrote in message Bye"},
               // A last line without a line break stays.
               {"Hi\r\n> quoted", "Hi > quoted"},
               {"Hi\nJoe wrote in message", "Hi\nJoe wrote in message"}});
    pre.CheckStartOfLine = false;
    ExpectAll({{"> q\nJoe wrote in message\nx", "> q x"}});
    pre.CheckContaining = false;
    ExpectAll({{"> q\nJoe wrote in message\nx", "> q\nJoe wrote in message\nx"}});
}

TEST_F(ProcessTest, EmptyMarkersAndMarkersInThePauseTag) {
    pre.StartOfLineMarkers = {""};
    ExpectAll({{"a\nb\nc", " c"}});
    pre.StartOfLineMarkers.clear();
    pre.ContainingMarkers = {"", "Pau", "0500"};
    ExpectAll({{"a\nb\nc", "a\nb\nc"}, {"a\n\n\nb\nc", "a \\Pau=0500\\b\nc"}});
}

TEST_F(ProcessTest, SeparatorRunsShrink) {
    ExpectAll({{"end. \r\nNext", "end. Next"},
               {"Hot!!!  Dry", "Hot! Dry"},
               {"5 - 10", "5- 10"},
               {"a  b", "a b"},
               {"a, ;b", "a, b"},
               {"a,b c", "a,b c"},
               {"Done.  ", "Done.  "}});
}

TEST_F(ProcessTest, TranslationsReplaceWholeWordsOnly) {
    ExpectAll({{"thx! thxx 2thx thx", "thanks! thxx 2thx thanks"},
               {"THX, Imo", "thanks, in my opinion"},
               {"pls-tia", "please-thanks in advance"}});
    pre.UseUserTranslations = false;
    ExpectAll({{"thx", "thx"}});
}

TEST_F(ProcessTest, TranslationsApplyInTableOrder) {
    pre.UserTranslations.Clear();
    pre.UserTranslations.Add("TX", "Texas", true);
    pre.UserTranslations.Add("a", "b c", false);
    pre.UserTranslations.Add("b", "bee", false);
    pre.UserTranslations.Add("x", "x x", false);
    pre.UserTranslations.Add("!!", "y", false);
    pre.UserTranslations.Add("", "never", false);
    // A later row sees what an earlier one inserted; a row never rescans its own value, and
    // the character before an occurrence is read from the text as this row has rewritten it.
    ExpectAll({{"TX tx", "Texas tx"}, {"a", "bee c"}, {"x", "x x"}, {"!!!!", "y!!"}});
}

TEST_F(ProcessTest, TranslationsIgnoreTheCaseOfLatin1LettersOnly) {
    pre.UserTranslations.Clear();
    pre.UserTranslations.Add("caf\xE9", "coffee", false);
    pre.UserTranslations.Add("\xD7", "times", false); // not the capital of the division sign
    pre.UserTranslations.Add("\xFF", "y", false);     // no capital in Latin-1; 0xDF is sharp s
    pre.UserTranslations.Add("{", "brace", false);    // differs from "[" by 0x20, yet no letter
    ExpectAll({{"CAF\xC9 Caf\xE9", "coffee coffee"},
               {"2 \xF7 3 \xD7 4", "2 \xF7 3 times 4"},
               {"\xDF \xFF", "\xDF y"},
               {"a [ b", "a [ b"}});
}

TEST_F(ProcessTest, WebLinksAreShortened) {
    ExpectAll({{"see http://www.example.com/page/two now", "see w w w.example.com web link now"},
               {"go http://example.com now", "go example.com now"},
               {"go.ftp://files.example.org/a", "go.files.example.org web link"},
               {"http://example.com", "example.com"},
               {"x abcdefghi://host", "x host"},
               {"x abcdefghij://host", "x abcdefghij://host"},
               {"abcdefghij://host", "abcdefghij://host"},
               {"HTTP://WWW.EXAMPLE.COM", "w w w.example.com"},
               {"a http://b http://c", "a b c"},
               // The search goes on behind each link, however long its scheme was.
               {"abcdefghi://x y://z", "x z"},
               {"www.example.com.", "w w w.example.com."},
               {"Visit www.example.com/a/b?x, then", "Visit w w w.example.com web link?x, then"},
               {"www.a.com www.b.org/x", "w w w.a.com w w w.b.org web link"},
               {"www.www.com", "w w w.w w w.com"},
               // A link ends with its line.
               {"www.a.com\nsee 1/2", "w w w.a.com\nsee 1/2"}});
}

TEST_F(ProcessTest, NewsReferencesGo) {
    ExpectAll({{"see news:abc123@news.example.com. Next", "see  Next"},
               {"news:x@Host", "Host"},
               {"news:a@b news:c@d.e end", "  end"},
               {"news: no address here", "news: no address here"},
               {"news:x@a.", ""}});
}

TEST_F(ProcessTest, LongRunsOfCapitalsAreLowerCasedAndSymbolsBlanked) {
    const char* symbols = "a#b(c)*d+e/f<g>h[i]^j_k`l{m|n}o~p";
    ExpectAll({{"ABCDE fine", "ABCDE fine"},
               {"ABCDEF fine", "abcdef fine"},
               {"NWS says HEAVY RAIN EXPECTED today", "NWS says heavy rain expected today"},
               {"TORNADO WARNING", "tornado warning"},
               {"ABC 123 DEF.", "abc 123 def."},
               {"\xC9"
                "COLE PUBLIQUE x",
                "\xC9"
                "cole publique x"},
               {"ABC-DEF x", "abc-def x"},
               {symbols, symbols}});
    pre.FilterSymbols = true;
    ExpectAll({{symbols, "a b c  d e f g h i  j k l m n o p"},
               {"ABC-DEF x", "abc def x"},
               {"ABC#DE x", "ABC DE x"}});
}

TEST_F(ProcessTest, StepsRunInOrder) {
    const std::string report = "TODAY: SUNNY AND HOT. High 95.\r\n"
                               "> an old quote\r\n"
                               "\r\n"
                               "\r\n"
                               "Details at http://www.weather.example/fc?id=5 thx!\r\n"
                               "Ref news:123@srv.example.org  done";
    // The capital opening "High" still belongs to the run before it.
    EXPECT_EQ(pre.Process(report), "today: sunny and hot. high 95. \\Pau=1000\\Details at w w "
                                   "w.weather.example web link?id 5 thanks! Ref  done");
}

TEST_F(ProcessTest, RandomTextNeverBreaksOut) {
    // Pieces that steer random text into every step; each output may hold a backslash or an
    // equals sign only inside the pause tags the pre-processor makes itself.
    // clang-format off
    const std::vector<std::string> pieces = {
        "www.", "://", "news:", "@", "\r", "\n", "\r\n", " ", ".", "!", "-", "=", "\\", "/",
        "ABCDEFG", "x", "thx", "> ", "wrote in message", "http", "Pau", "\xE9", "\x01", "~", "#"};
    // clang-format on
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 400);
    for (int round = 0; round < 400; ++round) {
        pre.FilterSymbols = round % 2 == 1;
        std::string text;
        for (int n = length(random); n > 0; --n)
            text += (n % 3 == 0) ? std::string(1, static_cast<char>(byte(random)))
                                 : pieces[pick(random)];
        const std::string out = pre.Process(text);
        EXPECT_EQ(out, pre.Process(text));
        std::string rest = out;
        for (const char* tag : {"\\Pau=0500\\", "\\pau=0500\\", "\\Pau=1000\\", "\\pau=1000\\"})
            for (size_t at = rest.find(tag); at != std::string::npos; at = rest.find(tag))
                rest.erase(at, 10);
        EXPECT_EQ(rest.find_first_of("=\\"), std::string::npos) << "input: " << text;
    }
}

// ---- settings and files ------------------------------------------------------------------------

TEST_F(PreProcessorTest, SwitchesStartFromTheirDefaultsAndRoundTripThroughTheSettingsFile) {
    auto settings = SpeechSettings();
    TPreProcessor pre;
    pre.LoadSettings(*settings);
    EXPECT_FALSE(pre.FilterSymbols);
    EXPECT_TRUE(pre.CheckStartOfLine && pre.CheckContaining && pre.UseUserTranslations);
    EXPECT_FALSE(FileExists(dir.File("FilterOptions.chl")));
    EXPECT_EQ(dir.Read("UserTranslations.chl"), ""); // made, empty
    EXPECT_TRUE(messages.empty());

    pre.FilterSymbols = true;
    pre.CheckStartOfLine = false;
    pre.CheckContaining = false;
    pre.UseUserTranslations = false;
    EXPECT_TRUE(pre.SaveSettings(*settings));
    EXPECT_TRUE(settings->SaveAll());
    RegistryStore reopened(StoreFile());
    std::string text;
    EXPECT_TRUE(reopened.ReadString(kSpeechKey, "TTS_FilterSymbols", text));
    EXPECT_EQ(text, "true");
    EXPECT_TRUE(reopened.ReadString(kSpeechKey, "EnableUserTranslations", text));
    EXPECT_EQ(text, "false");
    EXPECT_FALSE(reopened.ReadString("Software\\HalvernWorks", "TTS_FilterSymbols", text));

    // Loading again (as after a restart) neither declares twice nor doubles the built-in
    // lists (the next test shows them all).
    store.Reload();
    store.WriteString(kSpeechKey, "EnableCheckContaining", "TRUE");
    pre.LoadSettings(*settings);
    EXPECT_EQ(settings->Items().size(), 4u);
    EXPECT_TRUE(pre.FilterSymbols);
    EXPECT_FALSE(pre.CheckStartOfLine || pre.UseUserTranslations);
    EXPECT_TRUE(pre.CheckContaining);
    EXPECT_EQ(pre.StartOfLineMarkers.size(), 3u);
    EXPECT_EQ(pre.UserTranslations.Count(), 4u);
}

TEST_F(PreProcessorTest, FiltersRoundTripAndTranslationsNeverReachTheirOwnFile) {
    TPreProcessor pre;
    pre.LoadFilters();
    pre.StartOfLineMarkers.push_back("--");
    pre.ContainingMarkers.push_back("unsubscribe");
    pre.UserTranslations.Add("mph", "miles per hour", true);
    ASSERT_TRUE(pre.SaveFilters());
    EXPECT_EQ(dir.Read("FilterOptions.chl"),
              "1~>\r\n1~|\r\n1~In article <\r\n1~--\r\n"
              "2~wrote in message\r\n2~unsubscribe\r\n"
              "3~tia~thanks in advance~F\r\n3~pls~please~F\r\n3~thx~thanks~F\r\n"
              "3~imo~in my opinion~F\r\n3~mph~miles per hour~T\r\n");

    TPreProcessor again;
    again.LoadFilters();
    EXPECT_EQ(again.StartOfLineMarkers, pre.StartOfLineMarkers);
    EXPECT_EQ(again.ContainingMarkers, pre.ContainingMarkers);
    EXPECT_EQ(again.UserTranslations.Count(), 4u);
    EXPECT_FALSE(again.UserTranslations.Exists("mph"));
    EXPECT_EQ(dir.Read("UserTranslations.chl"), "");
}

TEST_F(PreProcessorTest, FilterFilesAreReadLeniently) {
    dir.Write("FilterOptions.chl",
              " 1 ~>>~ignored\r\n2~spam\n1~\n7~other\n\njunk\n3~k~v~T\n2~x\r\n");
    dir.Write("UserTranslations.chl",
              "1~NWS~the weather service~T\r\n 2 ~kph~kilometres an hour\r\n");
    TPreProcessor pre;
    pre.LoadFilters();
    EXPECT_EQ(pre.StartOfLineMarkers, (std::vector<std::string>{">>", ""}));
    EXPECT_EQ(pre.ContainingMarkers, (std::vector<std::string>{"spam", "x"}));
    ASSERT_EQ(pre.UserTranslations.Count(), 2u);
    EXPECT_EQ(pre.Process("NWS nws 40 KPH"), "the weather service nws 40 kilometres an hour");

    dir.Write("FilterOptions.chl", "");
    pre.LoadFilters();
    EXPECT_TRUE(pre.StartOfLineMarkers.empty());
    EXPECT_TRUE(pre.ContainingMarkers.empty());
    EXPECT_EQ(pre.Process("> kept\nx"), "> kept\nx");
}

TEST_F(PreProcessorTest, DamagedTranslationsReachTheCallerAfterEverythingElseLoaded) {
    store.WriteString(kSpeechKey, "TTS_FilterSymbols", "true");
    dir.Write("FilterOptions.chl", "1~#\n");
    dir.Write("UserTranslations.chl", "1~a~A~F\n2~a~again~F\n");
    auto settings = SpeechSettings();
    TPreProcessor pre;
    EXPECT_EQ(ErrorOf<ELookupTblException>([&] { pre.LoadSettings(*settings); }),
              "Alternate pronunciation already exists for a");
    EXPECT_TRUE(pre.FilterSymbols);
    EXPECT_EQ(pre.StartOfLineMarkers, (std::vector<std::string>{"#"}));
    EXPECT_EQ(pre.UserTranslations.Count(), 1u);

    // A line that is not a row ends loading; the rows before it stay.
    dir.Write("UserTranslations.chl", "1~b~B~F\n\n2~c~C~F\n");
    EXPECT_THROW(pre.LoadFilters(), EConvertError);
    EXPECT_EQ(pre.UserTranslations.Count(), 1u);
    EXPECT_TRUE(pre.UserTranslations.Exists("b"));
    EXPECT_EQ(pre.Process("\x01\xFF binary \x80"), "\x01\xFF binary \x80");
}

TEST_F(PreProcessorTest, AFailedSaveIsReportedAndTheSwitchesStillReachTheSettings) {
    // A folder where the file should be: the rename over it fails as on a full disk.
    ASSERT_TRUE(MakeFolders(dir.File("FilterOptions.chl")));
    auto settings = SpeechSettings();
    TPreProcessor pre;
    pre.LoadSettings(*settings);
    EXPECT_EQ(pre.StartOfLineMarkers.size(), 3u);
    pre.FilterSymbols = true;
    EXPECT_FALSE(pre.SaveSettings(*settings));
    EXPECT_TRUE(settings->GetValue("TTS_FilterSymbols").AsBool());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("speech filters could not be saved"), std::string::npos);
}

TEST_F(PreProcessorTest, AnUnreadableFilterFileIsLeftAlone) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    dir.Write("FilterOptions.chl", "1~mine\n");
    std::filesystem::permissions(dir.File("FilterOptions.chl"), std::filesystem::perms::none);
    TPreProcessor pre;
    pre.LoadFilters();
    EXPECT_EQ(pre.StartOfLineMarkers.size(), 3u);
    EXPECT_FALSE(pre.SaveFilters());
    std::filesystem::permissions(dir.File("FilterOptions.chl"), std::filesystem::perms::owner_all);
    EXPECT_EQ(dir.Read("FilterOptions.chl"), "1~mine\n");
}

// ---- TLookupTable --------------------------------------------------------------------------

// Each row as "Id|Key~Value~T or F".
std::vector<std::string> Rows(const TLookupTable& table) {
    std::vector<std::string> rows;
    for (size_t i = 0; i < table.Count(); ++i)
        rows.push_back(std::to_string(table[i].Id) + "|" + table.RecordToString(i, "~"));
    return rows;
}

using Texts = std::vector<std::string>;

TEST(LookupTableTest, ParsesTheFourFieldsOfALine) {
    TLookupTable table;
    table.ParseLine("  7 ~ Key ~Value two~T", "~");
    table.ParseLine("-3~tx~texas~t", "~");
    table.ParseLine("4~abc", "~");
    table.ParseLine("5|x|y|T|more", "|");
    table.ParseLine("6~~~T", "~");
    EXPECT_EQ(Rows(table),
              (Texts{"7| Key ~Value two~T", "-3|tx~texas~F", "4|abc~~F", "5|x~y~T", "6|~~T"}));
}

TEST(LookupTableTest, RefusesDuplicateKeysAndFirstFieldsThatAreNoIntegers) {
    TLookupTable table;
    table.Add("TX", "Texas", true);
    table.Add("tx", "transmit", false);
    EXPECT_TRUE(table.Exists("TX"));
    EXPECT_FALSE(table.Exists("Tx"));
    EXPECT_EQ(ErrorOf<ELookupTblException>([&] { table.AddRecord("TX", "again", false, 9); }),
              "Alternate pronunciation already exists for TX");
    EXPECT_THROW(table.ParseLine("x~a~b~F", "~"), EConvertError);
    EXPECT_EQ(ErrorOf<EConvertError>([&] { table.ParseLine("", "~"); }),
              "'' is not a valid integer value");
    EXPECT_EQ(Rows(table), (Texts{"0|TX~Texas~T", "0|tx~transmit~F"}));
}

// The table's file in the program folder of PreProcessorTest.
class LookupTableFileTest : public PreProcessorTest {
protected:
    std::string path = dir.File("UserTranslations.chl");
    TLookupTable table;
};

TEST_F(LookupTableFileTest, LoadsCrLfAndLfLinesAndReplacesEarlierRows) {
    table.Add("old", "gone", false);
    dir.Write("UserTranslations.chl", "1~mph~miles per hour~F\r\n2~NWS~weather service~T\n3~a~b");
    table.LoadFromFile(path);
    EXPECT_EQ(table.FileName(), path);
    EXPECT_EQ(Rows(table), (Texts{"1|mph~miles per hour~F", "2|NWS~weather service~T", "3|a~b~F"}));
}

TEST_F(LookupTableFileTest, AMissingFileIsCreatedEmpty) {
    table.LoadFromFile(path);
    EXPECT_TRUE(table.Empty());
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(dir.Read("UserTranslations.chl"), "");

    // A folder that does not exist: nothing to create, nothing thrown.
    const std::string nowhere = dir.File("missing/UserTranslations.chl");
    table.LoadFromFile(nowhere);
    EXPECT_TRUE(table.Empty());
    EXPECT_FALSE(FileExists(nowhere));
}

} // namespace
} // namespace olv::test
