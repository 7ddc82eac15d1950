#include "app/ShippedTexts.h"

#include "platform/Paths.h"
#include "scripts/GrabBaseClass.h"
#include "util/Log.h"

#include <exception>
#include <random>

namespace olv {

std::string ShippedTexts::InProgramFolder(const std::string& fileName) {
    return fileName.find('/') == std::string::npos ? ProgramFolder() + fileName : fileName;
}

std::vector<std::string> ShippedTexts::RootList(const std::string& fileName,
                                                const std::string& listName) {
    std::vector<std::string> list;
    try {
        GrabBaseClass store;
        std::string message;
        store.LoadFromFile(InProgramFolder(fileName), message);
        store.GetList("/", listName, list);
    } catch (const std::exception& error) {
        Log(fileName + ": " + error.what());
        list.clear();
    }
    return list;
}

std::string ShippedTexts::RootValue(const std::string& fileName, const std::string& name) {
    try {
        GrabBaseClass store;
        std::string message;
        store.LoadFromFile(InProgramFolder(fileName), message);
        return store.GetValue("/", name);
    } catch (const std::exception& error) {
        Log(fileName + ": " + error.what());
        return std::string();
    }
}

std::string ShippedTexts::RandomJoke() {
    const std::vector<std::string> jokes = RootList(kJokesFile, "jokes");
    if (jokes.empty())
        return std::string();
    static std::mt19937 generator{std::random_device{}()};
    return jokes[std::uniform_int_distribution<size_t>(0, jokes.size() - 1)(generator)];
}

} // namespace olv
