#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace olv::test {

// What a program run by a test did.
struct ToolRun {
    int Status = -1; // exit status; -1 when it did not exit normally
    std::string Out;
    std::string Err;
    std::chrono::milliseconds Took{0};
    std::chrono::milliseconds Cpu{0}; // user and system time the program used
};

// Runs one of the project's programs from the build folder as a user would: with the
// arguments given (no shell involved), NAME=VALUE settings added in front of the test's own
// environment, in workFolder, its output captured. Waits for it to end.
ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment, const std::string& workFolder);

} // namespace olv::test
