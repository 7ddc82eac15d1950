// olvenar-script: runs a scraping script from a data file, for people who maintain the scripts.
//   olvenar-script [--file F.chl] [--name NAME] [--set VAR=VALUE]... [--proxy HOST:PORT]
// Prints every variable afterwards as VAR=VALUE, then Result=N; exits with the run's result
// (0, 1 or 2), or 3 when the script fails with a conversion or file error.

#include "platform/Paths.h"
#include "platform/ProcessMessages.h"
#include "scripts/ScriptClass.h"
#include "util/EConvertError.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
    interrupted = 1;
}

struct Options {
    std::string file = "Olvenar.chl";
    std::string name = "WUFore";
    std::vector<std::pair<std::string, std::string>> variables;
    std::string proxyHost;
    std::string proxyPort;
};

constexpr const char* kUsage =
    "usage: olvenar-script [--file F.chl] [--name NAME] [--set VAR=VALUE]... [--proxy HOST:PORT]\n";

// Returns false (after saying why) when the command line is not understood.
bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (arg == "--file" && hasValue) {
            options.file = argv[++i];
        } else if (arg == "--name" && hasValue) {
            options.name = argv[++i];
        } else if (arg == "--set" && hasValue) {
            const std::string assignment = argv[++i];
            const auto eq = assignment.find('=');
            if (eq == std::string::npos || eq == 0) {
                std::cerr << "olvenar-script: --set needs VAR=VALUE, not '" << assignment << "'\n";
                return false;
            }
            options.variables.emplace_back(assignment.substr(0, eq), assignment.substr(eq + 1));
        } else if (arg == "--proxy" && hasValue) {
            const std::string proxy = argv[++i];
            const auto colon = proxy.rfind(':');
            options.proxyHost = proxy.substr(0, colon);
            options.proxyPort = colon == std::string::npos ? "80" : proxy.substr(colon + 1);
        } else {
            std::cerr << "olvenar-script: unknown or incomplete option '" << arg << "'\n" << kUsage;
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options))
        return 64;

    // Script authors work in a folder of their own: it is the program folder here.
    olv::SetProgramFolder("");

    olv::NVListClass vars;
    for (const auto& [name, value] : options.variables)
        vars.Put(name, value);

    olv::ScriptClass script;
    script.ProxyHost = options.proxyHost;
    script.ProxyPort = options.proxyPort;
    std::signal(SIGINT, OnInterrupt);
    olv::SetProcessMessagesHook([&script] {
        if (interrupted)
            script.Abort();
    });

    int result;
    try {
        script.LoadScript(options.file, options.name, vars);
        result = script.Run();
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 3;
    }
    for (int i = 0; i < vars.Count(); ++i)
        std::cout << vars.Names()[static_cast<size_t>(i)] << '='
                  << vars.Values()[static_cast<size_t>(i)] << '\n';
    std::cout << "Result=" << result << '\n';
    return result;
}
