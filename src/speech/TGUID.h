#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace olv {

// A 128-bit identifier of an engine or a mode. Ours are derived from a stable name, so that
// the same voice keeps its identifier from one run to the next.
struct TGUID {
    uint64_t High = 0;
    uint64_t Low = 0;

    bool IsNull() const { return High == 0 && Low == 0; }
    friend bool operator==(const TGUID& a, const TGUID& b) {
        return a.High == b.High && a.Low == b.Low;
    }
    friend bool operator!=(const TGUID& a, const TGUID& b) { return !(a == b); }

    // Two independent 64-bit FNV-1a hashes of name.
    static TGUID FromName(std::string_view name) {
        return TGUID{Fnv1a(name, 0xcbf29ce484222325ULL), Fnv1a(name, 0x84222325cbf29ce4ULL)};
    }

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as identifiers are usually written.
    std::string ToString() const {
        char text[40];
        std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}",
                      static_cast<unsigned>(High >> 32),
                      static_cast<unsigned>((High >> 16) & 0xFFFF),
                      static_cast<unsigned>(High & 0xFFFF), static_cast<unsigned>(Low >> 48),
                      static_cast<unsigned long long>(Low & 0xFFFFFFFFFFFFULL));
        return text;
    }

private:
    static uint64_t Fnv1a(std::string_view text, uint64_t hash) {
        for (unsigned char c : text) {
            hash ^= c;
            hash *= 0x100000001b3ULL;
        }
        return hash;
    }
};

} // namespace olv
