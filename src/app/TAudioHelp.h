#pragma once

#include <string>
#include <vector>

namespace olv {

// Spoken help: topics and their texts from "AudioHelp.chl" in the program folder.
class TAudioHelp {
public:
    static constexpr const char* kFileName = "AudioHelp.chl";
    // The topics of the area help buttons.
    static constexpr const char* kOverview = "Overview";
    static constexpr const char* kMainWindowArea = "Main Window Area";
    static constexpr const char* kMyCitiesArea = "MyCities Summary Area";
    static constexpr const char* kGlobalArea = "Global Locations Area";

    // The topics of the "&Audio Help" submenu (the list "HelpTopics").
    static std::vector<std::string> Topics();
    // The text of a topic, each "*" read as a blank; empty when the file has none.
    static std::string TopicText(const std::string& topic);
};

} // namespace olv
