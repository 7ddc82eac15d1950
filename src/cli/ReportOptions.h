#pragma once

#include <string>
#include <vector>

namespace olv {

// The command line of olvenar-report.
struct ReportOptions {
    enum class Kind { Conditions, Forecast, Summary };

    Kind ReportKind = Kind::Conditions;
    bool Metric = false;
    std::string ProxyHost; // from --proxy; empty: the proxy of the settings
    std::string ProxyPort;
    std::string FindText; // --find: list matching keys instead of reading
    bool MyCities = false;
    bool Store = false;
    std::vector<std::string> Keys;

    // Parses argv; false (with the reason in error) when the line is not understood.
    // help is set for --help.
    bool Parse(int argc, char** argv, std::string& error, bool& help);

    static const char* Usage();
};

} // namespace olv
