// olvenar-script as script authors run it, in a folder of their own.

#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

namespace olv {
namespace {

class ScriptTool : public ::testing::Test {
protected:
    test::ToolRun Run(const std::vector<std::string>& arguments) {
        return test::RunTool("olvenar-script", arguments, {}, folder.Folder());
    }
    test::TempDir folder;
};

TEST_F(ScriptTool, RunsTheScriptWithTheGivenVariablesAndPrintsThemAll) {
    folder.Write("page.html", "<b>Temp</b> 72F");
    folder.Write("Olvenar.chl",
                 "<WUFore>\r\n    script|\r\n    loadfile 'page.html'|\r\n"
                 "    skipto '</b> ' '1' p|\r\n    skip '4'|\r\n    grabto Temperature 'F'|\r\n"
                 "    cat Greeting ' there'|\r\n</WUFore>\r\n");
    const test::ToolRun run = Run({"--set", "Greeting=hi", "--set", "Empty="});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Greeting=hi there\nEmpty=\nBuffer=<b>Temp</b> 72F\nPtr=15\np=9\n"
                       "Temperature=72\nResult=0\n");
}

TEST_F(ScriptTool, ResultsAndFailuresBecomeTheExitStatus) {
    folder.Write("s.chl", "<Fails>script|goto 'nowhere'|</Fails><Bad>script|plus x 'y'|</Bad>");
    test::ToolRun run = Run({"--file", "s.chl", "--name", "Fails"});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "ErrorMessage=Label not found - LabelName=nowhere\nResult=2\n");

    run = Run({"--file", "s.chl", "--name", "Bad"});
    EXPECT_EQ(run.Status, 3);
    EXPECT_EQ(run.Err, "'' is not a valid integer value\n");

    // A missing file or script is an empty script.
    run = Run({"--file", "none.chl"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "Result=0\n");

    run = Run({"--set", "novalue"});
    EXPECT_EQ(run.Status, 64);
    EXPECT_NE(run.Err.find("--set needs VAR=VALUE"), std::string::npos);
}

TEST_F(ScriptTool, TheCurrentFolderIsTheProgramFolder) {
    folder.Write("Olvenar.chl", "<WUFore>script|loadfile '/etc/hostname'|</WUFore>");
    const test::ToolRun run = Run({});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "ErrorMessage=Unable to open file - /etc/hostname\nResult=2\n");
}

} // namespace
} // namespace olv
