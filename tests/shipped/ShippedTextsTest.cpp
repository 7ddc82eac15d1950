#include "data/ShippedFile.h"
#include "platform/Files.h"
#include "scripts/GrabBaseClass.h"
#include "util/Strings.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace olv {
namespace {

void LoadShipped(const std::string& name, GrabBaseClass& store) {
    std::string message;
    store.LoadFromFile(std::string(OLVENAR_DATA_DIR) + "/" + name, message);
    EXPECT_EQ(message, "") << name;
}

// The reader joins trimmed lines with nothing between them, so a text carried over to the next
// line loses its blank there unless the line ends in `joiner` ('\0' where no joiner is read).
// Returns the first such line.
std::string FirstGluedLine(const std::string& text, char joiner) {
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string line = Trim(lines[i]);
        const std::string next = Trim(lines[i + 1]);
        const bool carriesOn = !line.empty() && line.back() != '>' && !StartsWith(next, "<");
        if (carriesOn && line.back() != joiner)
            return line;
    }
    return {};
}

// Texts that reach the speech engine: the read step says "minus" for every hyphen, and the
// engine's text filter blanks "=" and "\".
void ExpectSpeakable(const std::string& text, const std::string& where) {
    EXPECT_EQ(text.find_first_of("-=\\<>"), std::string::npos) << where << ": " << text;
}

int SentenceEnds(const std::string& text) {
    int ends = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if ((text[i] == '.' || text[i] == '?' || text[i] == '!') &&
            (i + 1 == text.size() || text[i + 1] == ' '))
            ++ends;
    return ends;
}

TEST(ShippedTexts, FilesArePlainAscii) {
    for (const char* name : {"jokes.chl", "tips.chl", "AudioHelp.chl"}) {
        const std::string text = test::ReadShippedFile(name);
        EXPECT_EQ(test::FirstNonAsciiByte(text), std::string::npos) << name;
    }
}

// The joke command speaks one entry; the tip window shows one entry at a time.
TEST(ShippedTexts, JokesAndTipsAreShortOneLineEntries) {
    for (const char* listName : {"jokes", "tips"}) {
        const std::string file = std::string(listName) + ".chl";
        GrabBaseClass store;
        LoadShipped(file, store);
        std::vector<std::string> entries;
        store.GetList("/", listName, entries);
        EXPECT_GE(entries.size(), 20u) << file;
        for (const std::string& entry : entries) {
            EXPECT_FALSE(entry.empty()) << file;
            EXPECT_LE(entry.size(), 160u) << entry;
            EXPECT_LE(SentenceEnds(entry), 2) << entry;
            if (file == "jokes.chl")
                ExpectSpeakable(entry, file);
        }
        EXPECT_EQ(FirstGluedLine(test::ReadShippedFile(file), '\0'), "") << file;
    }
}

TEST(ShippedTexts, EveryAudioHelpTopicHasSpeakableText) {
    GrabBaseClass store;
    LoadShipped("AudioHelp.chl", store);
    std::vector<std::string> topics;
    store.GetList("/", "HelpTopics", topics);
    // The window's Help buttons speak these topics by name.
    for (const char* fixed :
         {"Overview", "Main Window Area", "MyCities Summary Area", "Global Locations Area"})
        EXPECT_NE(std::find(topics.begin(), topics.end(), fixed), topics.end()) << fixed;
    for (const std::string& topic : topics) {
        // Each topic is a menu caption, where "&" would mark a mnemonic.
        EXPECT_EQ(topic.find('&'), std::string::npos) << topic;
        std::string text = store.GetValue("/", topic);
        std::replace(text.begin(), text.end(), '*', ' ');
        EXPECT_GT(text.size(), 80u) << "topic '" << topic << "' has no text";
        ExpectSpeakable(text, topic);
    }
    EXPECT_EQ(FirstGluedLine(test::ReadShippedFile("AudioHelp.chl"), '*'), "");
}

} // namespace
} // namespace olv
