// olvenar-report: the weather of the cities given, retrieved and composed as the window reads it,
// for terminals, cron jobs and screen readers.

#include "cli/ReportCommand.h"
#include "cli/ReportOptions.h"
#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "util/Log.h"

#include <csignal>
#include <iostream>

namespace {
volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) {
    interrupted = 1;
}
} // namespace

int main(int argc, char** argv) {
    olv::ReportOptions options;
    std::string error;
    bool help = false;
    if (!options.Parse(argc, argv, error, help)) {
        std::cerr << "olvenar-report: " << error << '\n' << olv::ReportOptions::Usage();
        return 64;
    }
    if (help) {
        std::cout << olv::ReportOptions::Usage();
        return 0;
    }

    olv::SetProgramFileName(argv[0]);
    const std::string problem =
        olv::PrepareProgramFolder(olv::DefaultProgramFolder(), olv::ShippedDataFolder(argv[0]));
    if (!problem.empty()) {
        std::cerr << "olvenar-report: " << problem << '\n';
        return 1;
    }
    olv::StartLog(olv::ProgramFolder(), olv::ProgramFileName());

    olv::ReportCommand command(options, std::cout, std::cerr);
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    olv::SetProcessMessagesHook([&command] {
        if (interrupted)
            command.Abort();
    });
    return command.Run();
}
