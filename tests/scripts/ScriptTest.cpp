#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "scripts/ScriptClass.h"
#include "support/TempDir.h"
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
        // The shipped retrieval script shows the commands at work on real pages (its tests);
        // here the edges it does not reach. skipto moves one past the start of the nth match.
        {"skipto 'X' '2' p|", "abcXdefXg", "p=9;Ptr=9"},
        {"skipto 'Z' '1' p|", "abcXdefXg", "p=0;Ptr=1"},
        {"setvar Ptr '6'|grabto t 'Q'|", "temp 72F", "t=;Ptr=6"},
        {"setvar Ptr '0'|grab t '3'|", "abcdef", "t=abc;Ptr=3"},
        {"grab t '3'|grab u '99'|", "abcdef", "t=abc;u=def"},
        {"setvar s 'a<b>c<d>e'|filter s '<' '>'|setvar t 'a<bc'|filter t '<' '>'|", "",
         "s=ace;t=a<bc"},
        {"setvar s '<td>ab</td><td>hello</td>'|newsgrab1 s '3'|", "", "s=hello"},
        {"setvar Ptr '1'|grablink text link|grablink t2 l2|", links,
         "link=/a.html;text=First;l2=/b;t2=Second"},
        {"grablink t l|", "no links", "ErrorMessage=GrabLink unable to find a link."},
        // Names ignore case and resolve indirectly; delvar empties a variable.
        // Text after the last "|" is a final line.
        {"setvar TEMP '71'|setvar name 'temp'|setvar copy var:name|delvar Temp|setvar z '1'", "",
         "copy=71;temp=;z=1"},
        // Jumps: the first of two labels wins, names are case-sensitive, unquoted names are
        // variables, and a missing label is an error.
        {"setvar n '0'|goto 'a'|label A|setvar n '1'|label a|plus n '10'|end|label a|plus n '1'|",
         "", "n=10"},
        {"goto done|", "", "ErrorMessage=Label not found - LabelName="},
        {"ifgt '3' '2' 'x'|label x|ifeq '2' '2' 'missing'|", "",
         "ErrorMessage=Label not found - LabelName=missing"},
        // Lines without a command are skipped.
        {"' a remark| setvar x '1'||unknown a b|END|setvar y '1'|", "", "x=;y="},
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

// fail gives the script's own reason, else keeps the one already set, and never none.
TEST_F(Script, FailEndsTheRunWithTheScriptsOwnReason) {
    EXPECT_EQ(Run("setvar ErrorMessage 'No such city'|fail|setvar after '1'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage") + ";" + vars.Get("after"), "No such city;");
    EXPECT_EQ(script.Failure(), ScriptFailure::Script);
    EXPECT_EQ(Run("setvar e ''|fail e|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "No such city");
    vars.Clear();
    EXPECT_EQ(Run("fail|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Script failed without a reason");
    // A reason given with fail is shown by the retrieval tests, and the retriever's tests tell
    // a script's own failure from a failed command.
}

TEST_F(Script, LoadFileJoinsLinesAndStaysInTheProgramFolder) {
    EXPECT_EQ(Run("", "line one\r\nline two\n"), 0);
    EXPECT_EQ(script.Buffer() + "; " + vars.Get("Buffer") + "; " + vars.Get("Ptr"),
              "line oneline two; line oneline two; 1");

    // (olvenar-script's tests try a file elsewhere by its full name.)
    test::TempDir outside;
    outside.Write("secret.txt", "secret");
    for (const std::string& name :
         {std::string("missing.html"), outside.File("secret.txt"), std::string("../secret.txt")}) {
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

TEST_F(Script, AbortFromAnEventEndsTheRunWithResultOneAndAnEndlessLoopWithTwo) {
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

    // A loop nothing stops ends with a message.
    script.MaxSteps = 1000;
    EXPECT_EQ(Run("label a|goto 'a'|"), 2);
    EXPECT_EQ(vars.Get("ErrorMessage"), "Script stopped: it ran more than 1000 lines");
}

} // namespace
} // namespace olv
