// Random and cut-off input to the data-file reader and to the interpreter (which parses each
// line it runs): each must end, and never crash (this suite also runs under the sanitizers).
// Scripts come from the update server, so the interpreter meets what a mirror serves.

#include "platform/Paths.h"
#include "scripts/GrabBaseClass.h"
#include "scripts/ScriptClass.h"
#include "support/TempDir.h"
#include "util/EConvertError.h"

#include <gtest/gtest.h>
#include <random>

namespace olv {
namespace {

const std::string kDataFile =
    "<Revision>1.0</Revision>\r\n<WUFore>\r\n    script|\r\n    grab a '1'|\r\n"
    "</WUFore>\r\n  <key name=Texas>\r\n    <Temp>71</Temp>\r\n"
    "    <key n=Inner><X>a<b>c</X></key n>\r\n  </key name>\r\n";

// A piece of the valid text, cut anywhere, with pieces of markup and bytes of any value mixed in.
std::string Mangle(std::mt19937& random, const std::string& valid) {
    static const std::vector<std::string> pieces = {"<", ">", "</", "<key ", "</key ", "=",
                                                    "|", "'", " ",  "\r\n",  "<key",   "</key"};
    std::string text = valid.substr(0, random() % (valid.size() + 1));
    for (size_t n = random() % 40; n > 0; --n) {
        const size_t at = text.empty() ? 0 : random() % text.size();
        if (random() % 3 == 0)
            text.insert(at, 1, static_cast<char>(random() % 256));
        else
            text.insert(at, pieces[random() % pieces.size()]);
    }
    return text;
}

// Whatever was read, written and read again reads the same: no value or key can change the
// file's structure on the way.
TEST(Robustness, DataFileReaderEndsOnAnyInputAndWhatItReadsRoundTrips) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        GrabBaseClass store;
        store.LoadFromText(Mangle(random, kDataFile));
        const std::string written = store.SaveToText();
        GrabBaseClass again;
        again.LoadFromText(written);
        ASSERT_EQ(again.SaveToText(), written) << round;
    }
}

TEST(Robustness, InterpreterEndsOnAnyScript) {
    test::TempDir folder;
    SetProgramFolder(folder.Folder());
    folder.Write("page.html", kDataFile);
    const std::string valid = "script|loadfile 'page.html'|label a|skipto '<' '1' p|grabto v '>'|"
                              "setvar Ptr '3'|filter v '<' '>'|newsgrab1 v '1'|grablink t l|"
                              "substr v '1' '9'|trimchar v ' ' ' '|plus n '1'|iflt n '3' 'a'|end|";
    std::mt19937 random(13);
    for (int round = 0; round < 1500; ++round) {
        NVListClass vars;
        ScriptClass script;
        script.MaxSteps = 2000;
        script.LoadScriptText(Mangle(random, valid), vars);
        try {
            const int result = script.Run();
            EXPECT_TRUE(result == 0 || result == 2) << result;
        } catch (const EConvertError&) {
            // A mangled number is the caller's to report.
        }
    }
    SetProgramFolder("");
}

} // namespace
} // namespace olv
