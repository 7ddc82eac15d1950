#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// One piece of a text to speak: either words (with their place in the whole text) or a pause.
struct TextPiece {
    size_t Start = 0; // 0-based position of Text in the whole text
    std::string Text; // empty for a pause
    int PauseMs = 0;
};

// Cuts a text at its pause tags ("\Pau=N\", N in milliseconds, the name in any case). Nothing
// else in the text acts as a tag: other backslash sequences and markup are plain words.
class SpeechText {
public:
    // Longer pauses are cut to this, so that a stray tag cannot fill the disk with silence.
    static constexpr int kMaxPauseMs = 60000;

    // Without tagged, the whole text is one piece. Pieces of blanks only are left out.
    static std::vector<TextPiece> Split(std::string_view text, bool tagged);
};

} // namespace olv
