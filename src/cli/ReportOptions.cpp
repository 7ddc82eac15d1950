#include "cli/ReportOptions.h"

#include <string_view>

namespace olv {

const char* ReportOptions::Usage() {
    return "usage: olvenar-report [--conditions | --forecast | --summary] [--metric]\n"
           "                      [--proxy HOST:PORT] [--my-cities] [--store] [KEY...]\n"
           "       olvenar-report --find TEXT\n"
           "  KEY is a city key such as \"United States|Massachusetts|Boston\" or \"ZIP:02134\".\n"
           "  --my-cities   read the My Cities summary from the stored records\n"
           "  --store       retrieve every My City and store the fresh records first\n"
           "  --find TEXT   list the catalogue's keys whose city name contains TEXT\n";
}

bool ReportOptions::Parse(int argc, char** argv, std::string& error, bool& help) {
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--conditions") {
            ReportKind = Kind::Conditions;
        } else if (arg == "--forecast") {
            ReportKind = Kind::Forecast;
        } else if (arg == "--summary") {
            ReportKind = Kind::Summary;
        } else if (arg == "--metric") {
            Metric = true;
        } else if (arg == "--my-cities") {
            MyCities = true;
        } else if (arg == "--store") {
            Store = true;
        } else if (arg == "--proxy" && hasValue) {
            const std::string proxy = argv[++i];
            const auto colon = proxy.rfind(':');
            ProxyHost = proxy.substr(0, colon);
            ProxyPort = colon == std::string::npos ? "80" : proxy.substr(colon + 1);
        } else if (arg == "--find" && hasValue) {
            FindText = argv[++i];
        } else if (arg.size() > 1 && arg.front() == '-') {
            error = "unknown or incomplete option '" + std::string(arg) + "'";
            return false;
        } else {
            Keys.emplace_back(arg);
        }
    }
    if (!help && FindText.empty() && Keys.empty() && !MyCities && !Store) {
        error = "no city key given";
        return false;
    }
    return true;
}

} // namespace olv
