#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace olv {

// A failure of the speech layer. It carries a result code in the manner of the speech API
// it stands in for: the engine and audio codes below, or kFail for the component's own
// checks, whose message is then the component's text as it is.
class ESpeechError : public std::runtime_error {
public:
    static constexpr uint32_t kFail = 0x80004005;
    static constexpr uint32_t kNotImplemented = 0x80004001;
    static constexpr uint32_t kNotEnoughData = 0x80040201;
    static constexpr uint32_t kWaveFormatNotSupported = 0x80040202;
    static constexpr uint32_t kInvalidParameter = 0x80040204;
    static constexpr uint32_t kOutOfDisk = 0x80040205;
    static constexpr uint32_t kInvalidChar = 0x80040208;
    static constexpr uint32_t kOutOfMemory = 0x8004020A;
    static constexpr uint32_t kTextEmpty = 0x8004020B;
    static constexpr uint32_t kBadDeviceID = 0x80040301;
    static constexpr uint32_t kDeviceNotReady = 0x8004031A;

    // The code's text (by its low 16 bits), a line break and "OLE error " with the code.
    explicit ESpeechError(uint32_t code);
    // A component error: the message as given, with the generic failure code.
    explicit ESpeechError(const std::string& message, uint32_t code = kFail);

    uint32_t Code() const { return code_; }

    // The text for a code: the speech API's own texts, else the system's, else "Unknown error".
    static std::string TextFor(uint32_t code);
    static std::string MessageFor(uint32_t code);

private:
    uint32_t code_;
};

} // namespace olv
