// olvenar-script as script authors run it, in a folder of their own: the variables it prints,
// and the script's result, or its failure, as the exit status.

#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

namespace olv::test {
namespace {

// A missing file or script is an empty script; the current folder is the program folder, so
// an absolute path is not opened.
TEST(ScriptTool, PrintsTheVariablesAndEndsWithTheScriptsResult) {
    TempDir folder;
    folder.Write("page.html", "<b>Temp</b> 72F");
    folder.Write("Olvenar.chl",
                 "<WUFore>\r\n    script|\r\n    loadfile 'page.html'|\r\n"
                 "    skipto '</b> ' '1' p|\r\n    skip '4'|\r\n    grabto Temperature 'F'|\r\n"
                 "    cat Greeting ' there'|\r\n</WUFore>\r\n");
    folder.Write("s.chl", "<Fails>script|goto 'nowhere'|</Fails><Bad>script|plus x 'y'|</Bad>"
                          "<Outside>script|loadfile '/etc/hostname'|</Outside>");
    // Each run as "status|standard error|standard output".
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--set", "Greeting=hi", "--set", "Empty="},
         "0||Greeting=hi there\nEmpty=\nBuffer=<b>Temp</b> 72F\nPtr=15\np=9\nTemperature=72\n"
         "Result=0\n"},
        {{"--file", "s.chl", "--name", "Fails"},
         "2||ErrorMessage=Label not found - LabelName=nowhere\nResult=2\n"},
        {{"--file", "s.chl", "--name", "Bad"}, "3|'' is not a valid integer value\n|"},
        {{"--file", "s.chl", "--name", "Outside"},
         "2||ErrorMessage=Unable to open file - /etc/hostname\nResult=2\n"},
        {{"--file", "none.chl"}, "0||Result=0\n"},
        {{"--set", "novalue"}, "64|olvenar-script: --set needs VAR=VALUE, not 'novalue'\n|"},
    };
    for (const auto& [arguments, expected] : cases) {
        const ToolRun run = RunTool("olvenar-script", arguments, {}, folder.Folder());
        EXPECT_EQ(std::to_string(run.Status) + "|" + run.Err + "|" + run.Out, expected);
    }
}

} // namespace
} // namespace olv::test
