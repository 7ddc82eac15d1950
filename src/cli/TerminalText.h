#pragma once

#include <iconv.h>
#include <streambuf>
#include <string>
#include <string_view>

namespace olv {

// The edge between the program's Latin-1 text and the terminal's encoding (the locale's
// character set, UTF-8 on every current system): what is printed is converted to it, and
// what is typed as arguments is converted from it.
class TerminalText {
public:
    // The encoding of the locale set by the environment. The plain C locale (ASCII) counts as
    // UTF-8, as for most programs of today: cron jobs and services often run without a locale.
    static std::string LocaleEncoding();

    explicit TerminalText(const std::string& encoding = LocaleEncoding());
    TerminalText(const TerminalText&) = delete;
    TerminalText& operator=(const TerminalText&) = delete;
    ~TerminalText();

    const std::string& Encoding() const { return encoding_; }
    // Latin-1 as the terminal shows it; a character it cannot show becomes its closest kin.
    std::string ToTerminal(std::string_view latin1) const;
    // The typed text as Latin-1. False when it holds characters that Latin-1 cannot (listed in
    // refused, as typed) or is no valid text of the encoding (refused then empty).
    bool ToLatin1(std::string_view typed, std::string& latin1, std::string& refused) const;

private:
    std::string encoding_;
    iconv_t toTerminal_;
    iconv_t toWide_;
    iconv_t fromWide_;
};

// A stream buffer that converts everything written through it from Latin-1 to the terminal's
// encoding before handing it on: put in front of std::cout and std::cerr, it converts at the
// edge whatever the program prints.
class TerminalStreamBuf final : public std::streambuf {
public:
    TerminalStreamBuf(const TerminalText& text, std::streambuf* target);
    TerminalStreamBuf(const TerminalStreamBuf&) = delete;
    TerminalStreamBuf& operator=(const TerminalStreamBuf&) = delete;
    ~TerminalStreamBuf() override;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool Pass();

    const TerminalText& text_;
    std::streambuf* target_;
    char buffer_[1024];
};

} // namespace olv
