#pragma once

#include "platform/Files.h"
#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace olv::test {

// A temporary folder that is both the program folder (for "Reseller.chl") and home of the
// settings file "config/registry"; every message shown is collected instead of printed.
class SettingsFixture : public ::testing::Test {
protected:
    SettingsFixture()
        : previousHook_(
              SetMessageHook([this](const std::string& text) { messages.push_back(text); })),
          store(StoreFile()) {
        SetProgramFolder(dir.Folder());
    }
    ~SettingsFixture() override {
        SetProgramFolder("");
        SetMessageHook(previousHook_);
    }

    std::string StoreFile() const { return dir.File("config/registry"); }
    // The string value, or "(absent)" when the store has no string value of that name.
    static std::string Stored(const RegistryStore& from, const std::string& key,
                              const std::string& name) {
        std::string text = "(absent)";
        from.ReadString(key, name, text);
        return text;
    }
    std::string Stored(const std::string& key, const std::string& name) const {
        return Stored(store, key, name);
    }
    std::string StoreText() const { return dir.Read("config/registry"); }
    void WriteStoreFile(const std::string& text) const {
        MakeFolders(dir.File("config"));
        dir.Write("config/registry", text);
    }

    TempDir dir;
    std::vector<std::string> messages;
    MessageHookFn previousHook_;
    RegistryStore store; // made last: it may show a message while loading
};

} // namespace olv::test
