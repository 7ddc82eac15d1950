#pragma once

#include <string>
#include <vector>

namespace olv {

// The lists of texts shipped beside the program in data files of the program folder
// ("jokes.chl", "tips.chl", "AudioHelp.chl"): a count and numbered entries under the root.
class ShippedTexts {
public:
    static constexpr const char* kJokesFile = "jokes.chl";
    static constexpr const char* kTipsFile = "tips.chl";

    // The list named listName under the root of fileName (a bare name is looked up in the
    // program folder). A missing or damaged file gives an empty list.
    static std::vector<std::string> RootList(const std::string& fileName,
                                             const std::string& listName);
    // A value under the root; empty when missing.
    static std::string RootValue(const std::string& fileName, const std::string& name);

    // One joke picked at random; empty when the file holds none.
    static std::string RandomJoke();

    static std::string InProgramFolder(const std::string& fileName);
};

} // namespace olv
