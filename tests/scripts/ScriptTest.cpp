#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "scripts/ScriptClass.h"
#include "support/TempDir.h"
#include "util/EConvertError.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace olv {
namespace {

// Runs scripts against pages written into a temporary program folder.
class Script : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.Folder()); }
    void TearDown() override { SetProgramFolder(""); }

    // Runs the lines (joined with "|") after loading page into the buffer; returns the result.
    int Run(const std::string& lines, const std::string& page = "") {
        std::string text = "script|";
        if (!page.empty()) {
            dir.Write("page.html", page);
            text += "loadfile 'page.html'|";
        }
        text += lines;
        script.LoadScriptText(text, vars);
        return script.Run();
    }

    test::TempDir dir;
    NVListClass vars;
    ScriptClass script;
};

TEST_F(Script, SkipToMovesPastTheStartOfTheNthMatchAndGrabToStopsOnTheDelimiter) {
    EXPECT_EQ(Run("skipto 'X' '2' p|", "abcXdefXg"), 0);
    EXPECT_EQ(script.Ptr(), 9);
    EXPECT_EQ(vars.Get("p"), "9");
    EXPECT_EQ(vars.Get("Ptr"), "9");
    EXPECT_EQ(Run("skipto 'Z' '1' p|", "abcXdefXg"), 0);
    EXPECT_EQ(script.Ptr(), 1);
    EXPECT_EQ(vars.Get("p"), "0");

    Run("setvar Ptr '6'|grabto t 'F'|", "temp 72F");
    EXPECT_EQ(vars.Get("t"), "72");
    EXPECT_EQ(script.Ptr(), 8);
    Run("setvar Ptr '6'|grabto t 'Q'|", "temp 72F");
    EXPECT_EQ(vars.Get("t"), "");
    EXPECT_EQ(script.Ptr(), 6);
}

TEST_F(Script, GrabFromPositionZeroReadsFromTheStart) {
    EXPECT_EQ(Run("setvar Ptr '0'|grab t '3'|", "abcdef"), 0);
    EXPECT_EQ(vars.Get("t"), "abc");
    EXPECT_EQ(script.Ptr(), 3);
    EXPECT_EQ(Run("setvar Ptr '1'|grab t '3'|grab u '99'|", "abcdef"), 0);
    EXPECT_EQ(vars.Get("t"), "abc");
    EXPECT_EQ(vars.Get("u"), "def");

    ScriptClass fresh; // a new interpreter starts at 0 with an empty buffer
    NVListClass freshVars;
    fresh.LoadScriptText("script|grab t '3'|", freshVars);
    EXPECT_EQ(fresh.Ptr(), 0);
    EXPECT_EQ(fresh.Run(), 0);
    EXPECT_EQ(freshVars.Get("t"), "");
    EXPECT_EQ(fresh.Ptr(), 3);
}

TEST_F(Script, TextCommands) {
    vars.Put("s", "abcdefgh");
    Run("substr s '2' '6'|");
    EXPECT_EQ(vars.Get("s"), "bcd");

    vars.Put("s", "a<b>c<d>e");
    vars.Put("t", "a<bc");
    Run("filter s '<' '>'|filter t '<' '>'|");
    EXPECT_EQ(vars.Get("s"), "ace");
    EXPECT_EQ(vars.Get("t"), "a<bc");

    vars.Put("s", "<td>ab</td><td>hello</td>");
    Run("newsgrab1 s '3'|");
    EXPECT_EQ(vars.Get("s"), "hello");

    vars.Put("s", "a   b");
    Run("trimchar s ' ' ' '|replace s 'b' 'xx'|cat s '!'|length s n|pos 'x' s at|");
    EXPECT_EQ(vars.Get("s"), "a xx!");
    EXPECT_EQ(vars.Get("n"), "5");
    EXPECT_EQ(vars.Get("at"), "3");
}

TEST_F(Script, VariablesIgnoreCaseAndResolveIndirectly) {
    Run("setvar TEMP '71'|setvar name 'temp'|setvar copy var:name|delvar Temp|");
    EXPECT_EQ(vars.Get("copy"), "71");
    EXPECT_EQ(vars.Names()[0], "TEMP");
    EXPECT_TRUE(vars.Has("temp"));
    EXPECT_EQ(vars.Get("temp"), "");

    Run("setvar x '5'|plus x '3'|minus x '10'|");
    EXPECT_EQ(vars.Get("x"), "-2");
}

TEST_F(Script, ConversionFailuresReachTheCaller) {
    try {
        Run("setvar x '5'|plus x y|");
        FAIL() << "no conversion failure";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_FALSE(vars.Has("ErrorMessage"));
    EXPECT_EQ(script.Status(), ScriptStatus::ssRunning);
    EXPECT_THROW(Run("setvar ptr 'abc'|"), EConvertError);
}

TEST_F(Script, JumpsAndLabels) {
    vars.Put("a", "1");
    vars.Put("b", "1");
    Run("ifstrneqskip a b|setvar ran 'yes'|setvar b '2'|ifstrneqskip a b|setvar skipped 'no'|end|");
    EXPECT_EQ(vars.Get("ran"), "yes");
    EXPECT_FALSE(vars.Has("skipped"));

    EXPECT_EQ(Run("goto done|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Label not found - LabelName=");
    EXPECT_EQ(script.Failure(), ScriptFailure::Command);

    // Two labels of one name: the first wins; names are case-sensitive.
    EXPECT_EQ(Run("setvar n '0'|goto 'a'|label A|setvar n '1'|label a|plus n '10'|end|label a|plus "
                  "n '100'|"),
              0);
    EXPECT_EQ(vars.Get("n"), "10");

    EXPECT_EQ(Run("setvar i '0'|label loop|plus i '1'|iflt i '5' 'loop'|"), 0);
    EXPECT_EQ(vars.Get("i"), "5");
    EXPECT_EQ(Run("ifgt '3' '2' 'x'|label x|ifeq '2' '2' 'missing'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Label not found - LabelName=missing");
    EXPECT_EQ(Run("ifset '' 'nowhere'|ifnotset 'v' 'nowhere'|setvar ok '1'|"), 0);
    EXPECT_EQ(vars.Get("ok"), "1");
}

TEST_F(Script, FailEndsTheRunWithTheScriptsOwnReason) {
    EXPECT_EQ(Run("setvar ErrorMessage 'No such city'|fail ErrorMessage|setvar after '1'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "No such city");
    EXPECT_EQ(script.Failure(), ScriptFailure::Script);
    EXPECT_FALSE(vars.Has("after"));
    EXPECT_EQ(Run("fail|"), 2); // the reason already set stands
    EXPECT_EQ(vars.Get("ErrorMessage"), "No such city");
    vars.Clear();
    EXPECT_EQ(Run("fail|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Script failed without a reason");
    EXPECT_EQ(Run("end|"), 0);
    EXPECT_EQ(script.Failure(), ScriptFailure::None);
}

TEST_F(Script, LinesWithoutCommandsAreSkippedAndTheLastLineEndsTheRun) {
    EXPECT_EQ(Run("' a remark| setvar x '1'||unknown a b|END|setvar y '1'|"), 0);
    EXPECT_FALSE(vars.Has("x"));
    EXPECT_FALSE(vars.Has("y"));
    EXPECT_EQ(Run("setvar z '1'"), 0); // text after the last "|" is a final line
    EXPECT_EQ(vars.Get("z"), "1");
}

TEST_F(Script, GrabLinkFindsTheNextLink) {
    Run("setvar Ptr '1'|grablink text link|grablink t2 l2|",
        "x<A HREF=\"/a.html\" class=c><b>First</b> <a href=/b>Second</a>");
    EXPECT_EQ(vars.Get("link"), "/a.html");
    EXPECT_EQ(vars.Get("text"), "First");
    EXPECT_EQ(vars.Get("l2"), "/b");
    EXPECT_EQ(vars.Get("t2"), "Second");

    EXPECT_EQ(Run("grablink t l|", "no links"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "GrabLink unable to find a link.");
}

TEST_F(Script, LoadFileJoinsLinesAndStaysInTheProgramFolder) {
    EXPECT_EQ(Run("", "line one\r\nline two\n"), 0);
    EXPECT_EQ(script.Buffer(), "line oneline two");
    EXPECT_EQ(vars.Get("Buffer"), "line oneline two");
    EXPECT_EQ(vars.Get("Ptr"), "1");

    EXPECT_EQ(Run("loadfile 'missing.html'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Unable to open file - missing.html");

    test::TempDir outside;
    outside.Write("secret.txt", "secret");
    for (const std::string& name :
         {outside.File("secret.txt"), std::string("../secret.txt"), std::string("/etc/passwd")}) {
        EXPECT_EQ(Run("loadfile '" + name + "'|"), 2) << name;
        EXPECT_EQ(vars.Get("ErrorMessage"), "Unable to open file - " + name);
    }
    Run("rmfile '" + outside.File("secret.txt") + "'|");
    EXPECT_TRUE(std::filesystem::exists(outside.File("secret.txt")));
}

TEST_F(Script, TempFilesAreMadeAndRemovedInTheProgramFolder) {
    EXPECT_EQ(Run("gettmpfile f|"), 0);
    const std::string name = vars.Get("f");
    EXPECT_EQ(name.rfind(dir.Folder(), 0), 0u);
    dir.Write(name.substr(dir.Folder().size()), "x");
    Run("rmfile f|rmfile 'never-there.html'|");
    EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(Script, ShowMessageAdvancesFirst) {
    std::vector<std::string> shown;
    const auto previous = SetMessageHook([&](const std::string& text) { shown.push_back(text); });
    Run("showmessage 'hi'|setvar after '1'|");
    SetMessageHook(previous);
    EXPECT_EQ(shown, std::vector<std::string>{"ScriptMessage: =hi="});
    EXPECT_EQ(vars.Get("after"), "1");
}

TEST_F(Script, AbortFromAnEventEndsTheRunWithResultOne) {
    int pumps = 0;
    const auto previous = SetProcessMessagesHook([&] {
        if (++pumps == 20)
            script.Abort();
    });
    const int result = Run("label a|setvar x '1'|goto 'a'|");
    SetProcessMessagesHook(previous);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(script.Status(), ScriptStatus::ssAbort);
    EXPECT_FALSE(vars.Has("ErrorMessage"));
    EXPECT_EQ(Run("setvar y '2'|"), 0); // a new run starts afresh
    EXPECT_EQ(script.Status(), ScriptStatus::ssIdle);
}

TEST_F(Script, AnEndlessLoopIsStoppedWithAMessage) {
    script.MaxSteps = 1000;
    EXPECT_EQ(Run("label a|goto 'a'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Script stopped: it ran more than 1000 lines");
}

} // namespace
} // namespace olv
