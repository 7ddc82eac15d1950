#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "scripts/ScriptClass.h"
#include "support/TempDir.h"
#include "util/EConvertError.h"
#include "util/Strings.h"

#include <algorithm>
#include <array>
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

// Each row runs its lines over its page and checks the variables it names, "name=value;..."
// (a variable never set reads as empty). A row that expects an ErrorMessage expects result 2.
TEST_F(Script, CommandsScanEditAndJump) {
    const std::string links = "x<A HREF=\"/a.html\" class=c><b>First</b> <a href=/b>Second</a>";
    const std::array<std::string, 3> cases[] = {
        // skipto moves one past the start of the nth match; grabto stops on its delimiter.
        {"skipto 'X' '2' p|", "abcXdefXg", "p=9;Ptr=9"},
        {"skipto 'Z' '1' p|", "abcXdefXg", "p=0;Ptr=1"},
        {"setvar Ptr '6'|grabto t 'F'|", "temp 72F", "t=72;Ptr=8"},
        {"setvar Ptr '6'|grabto t 'Q'|", "temp 72F", "t=;Ptr=6"},
        {"setvar Ptr '0'|grab t '3'|", "abcdef", "t=abc;Ptr=3"},
        {"grab t '3'|grab u '99'|", "abcdef", "t=abc;u=def"},
        {"setvar s 'abcdefgh'|substr s '2' '6'|", "", "s=bcd"},
        {"setvar s 'a<b>c<d>e'|filter s '<' '>'|setvar t 'a<bc'|filter t '<' '>'|", "",
         "s=ace;t=a<bc"},
        {"setvar s '<td>ab</td><td>hello</td>'|newsgrab1 s '3'|", "", "s=hello"},
        {"setvar s 'a   b'|trimchar s ' ' ' '|replace s 'b' 'xx'|cat s '!'|length s n|pos 'x' s "
         "at|",
         "", "s=a xx!;n=5;at=3"},
        {"setvar Ptr '1'|grablink text link|grablink t2 l2|", links,
         "link=/a.html;text=First;l2=/b;t2=Second"},
        {"grablink t l|", "no links", "ErrorMessage=GrabLink unable to find a link."},
        // Names ignore case and resolve indirectly; delvar empties a variable.
        {"setvar TEMP '71'|setvar name 'temp'|setvar copy var:name|delvar Temp|", "",
         "copy=71;temp="},
        {"setvar x '5'|plus x '3'|minus x '10'|", "", "x=-2"},
        // Jumps: the first of two labels wins, names are case-sensitive, unquoted names are
        // variables, and a missing label is an error.
        {"setvar n '0'|goto 'a'|label A|setvar n '1'|label a|plus n '10'|end|label a|plus n '1'|",
         "", "n=10"},
        {"setvar i '0'|label loop|plus i '1'|iflt i '5' 'loop'|", "", "i=5"},
        {"setvar a '1'|ifstrneqskip a '1'|setvar ran 'y'|ifstrneqskip a '2'|setvar no 'n'|", "",
         "ran=y;no="},
        {"ifset '' 'nowhere'|ifnotset 'v' 'nowhere'|setvar ok '1'|", "", "ok=1"},
        {"goto done|", "", "ErrorMessage=Label not found - LabelName="},
        {"ifgt '3' '2' 'x'|label x|ifeq '2' '2' 'missing'|", "",
         "ErrorMessage=Label not found - LabelName=missing"},
        // Lines without a command are skipped; text after the last "|" is a final line.
        {"' a remark| setvar x '1'||unknown a b|END|setvar y '1'|", "", "x=;y="},
        {"setvar z '1'", "", "z=1"},
    };
    for (const auto& [lines, page, expected] : cases) {
        SCOPED_TRACE(lines);
        vars.Clear();
        EXPECT_EQ(Run(lines, page), StartsWith(expected, "ErrorMessage=") ? 2 : 0);
        for (std::string_view rest = expected; !rest.empty();) {
            const std::string_view item = rest.substr(0, rest.find(';'));
            rest.remove_prefix(std::min(rest.size(), item.size() + 1));
            const size_t equals = item.find('=');
            EXPECT_EQ(vars.Get(item.substr(0, equals)), item.substr(equals + 1)) << item;
        }
    }
}

// The message is shown by the retriever's tests.
TEST_F(Script, ConversionFailuresReachTheCaller) {
    EXPECT_THROW(Run("setvar x '5'|plus x y|"), EConvertError);
    EXPECT_FALSE(vars.Has("ErrorMessage"));
    EXPECT_EQ(script.Status(), ScriptStatus::ssRunning);
    EXPECT_THROW(Run("setvar ptr 'abc'|"), EConvertError);
}

// fail gives the script's own reason, else keeps the one already set, and never none.
TEST_F(Script, FailEndsTheRunWithTheScriptsOwnReason) {
    EXPECT_EQ(Run("setvar ErrorMessage 'No such city'|fail|setvar after '1'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "No such city");
    EXPECT_EQ(script.Failure(), ScriptFailure::Script);
    EXPECT_FALSE(vars.Has("after"));
    EXPECT_EQ(Run("setvar e ''|fail e|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "No such city");
    vars.Clear();
    EXPECT_EQ(Run("fail|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Script failed without a reason");
    EXPECT_EQ(Run("fail 'ZIP code 00000 is not in the ZIP code table'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "ZIP code 00000 is not in the ZIP code table");
    EXPECT_EQ(Run("goto 'nowhere'|"), 2);
    EXPECT_EQ(script.Failure(), ScriptFailure::Command);
    EXPECT_EQ(Run("end|"), 0);
    EXPECT_EQ(script.Failure(), ScriptFailure::None);
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
