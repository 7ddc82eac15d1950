#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace olv::test {

// Sets (or with nullptr unsets) an environment variable and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

// The locale variables set to one locale (nullptr: none set).
struct ScopedLocale {
    explicit ScopedLocale(const char* locale)
        : all("LC_ALL", locale), messages("LC_MESSAGES", nullptr), lang("LANG", nullptr) {}
    ScopedEnv all, messages, lang;
};

} // namespace olv::test
