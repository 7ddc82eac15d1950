#include "speech/ESpeechError.h"

#include <cstdio>

namespace olv {
namespace {

struct CodeText {
    uint32_t Code;
    const char* Text;
};

// Looked up by the low 16 bits of the code.
constexpr CodeText kSpeechTexts[] = {
    {0x0201, "The speech recognition or text-to-speech service does not have enough data."},
    {0x0202, "The sound card does not support the right wave-file format to work with the speech "
             "software."},
    {0x0203, "The audio device is in use at this time."},
    {0x0204, "An invalid parameter was passed to the speech engine."},
    {0x0205, "There was an error in disk access, or there is not enough disk space free. If you "
             "are low on disk space, try deleting some files to free up space."},
    {0x0206, "The program has selected a non-existent speech engine."},
    {0x0207, "An invalid list was passed to the speech recognizer."},
    {0x0208, "An invalid character was passed to the speech engine."},
    {0x0209, "An invalid key was passed to the speech engine."},
    {0x020A, "There is not enough memory for the text-to-speech engine to finish. Quit some other "
             "programs, and then try again."},
    {0x020B, "The text string passed into the text-to-speech engine is empty."},
    {0x0301, "The program has selected an audio device that does not exist."},
    {0x0302, "The program has not told the sound card what wave-file format to use."},
    {0x0306, "The audio device is not playing."},
    {0x0312, "Your sound card does not support this audio-file format."},
    {0x0313, "The audio device is not recording."},
    {0x0317, "The audio driver has not been opened. Double-click the MultiMedia icon in Control "
             "Panel and make sure the correct drivers are loaded."},
    {0x0318, "The audio handle is still busy. Try restarting your computer."},
    {0x0319, "The notification sink is not the right type."},
    {0x031A, "The audio device is not ready."},
    {0x031D, "The audio device has already been claimed."},
    {0x031E, "The audio device is not ready."},
    {0x031F, "The audio device is still in use."},
    {0x0320, "The audio device has already been started."},
    {0x0321, "Cannot use a synchronous audio device."},
};

// The system's texts for the general codes, matched on the whole code.
constexpr CodeText kSystemTexts[] = {
    {0x80004001, "Not implemented"},
    {0x80004002, "No such interface supported"},
    {0x80004003, "Invalid pointer"},
    {0x80004005, "Unspecified error"},
    {0x80070005, "Access is denied."},
    {0x8007000E, "Not enough memory resources are available to complete this operation."},
    {0x80070057, "The parameter is incorrect."},
};

} // namespace

std::string ESpeechError::TextFor(uint32_t code) {
    for (const auto& entry : kSpeechTexts)
        if (entry.Code == (code & 0xFFFF))
            return entry.Text;
    for (const auto& entry : kSystemTexts)
        if (entry.Code == code)
            return entry.Text;
    return "Unknown error";
}

std::string ESpeechError::MessageFor(uint32_t code) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "OLE error %.8x", static_cast<unsigned>(code));
    return TextFor(code) + "\n" + suffix;
}

ESpeechError::ESpeechError(uint32_t code) : std::runtime_error(MessageFor(code)), code_(code) {}

ESpeechError::ESpeechError(const std::string& message, uint32_t code)
    : std::runtime_error(message), code_(code) {}

} // namespace olv
