#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace olv {

// A setting's value: empty, an integer, a real, a boolean or a text. Settings objects hand values
// out and take them back in this form (TBaseRegistryClass::GetValue / SetValue).
//
// The As... conversions never throw:
// - AsInt: integer as is; real rounded to the nearest integer; boolean 1 or 0; text in decimal
//   (blanks around it allowed); anything else (empty, not a number) gives fallback.
// - AsReal: numbers as they are; boolean 1 or 0; text read with "." (or ",") as the decimal
//   separator; anything else gives fallback.
// - AsBool: non-zero numbers are true; a text is true exactly when it is "true" in any case.
// - AsString: integers in decimal, reals in the shortest text that reads back the same
//   ("." decimal separator), booleans "true" / "false", empty "".
class Variant {
public:
    Variant() = default;
    Variant(int32_t number) : value_(number) {}
    Variant(double number) : value_(number) {}
    Variant(bool flag) : value_(flag) {}
    Variant(const char* text) : value_(std::string(text)) {}
    Variant(std::string text) : value_(std::move(text)) {}
    Variant(std::string_view text) : value_(std::string(text)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsInt() const { return std::holds_alternative<int32_t>(value_); }
    bool IsReal() const { return std::holds_alternative<double>(value_); }
    bool IsBool() const { return std::holds_alternative<bool>(value_); }
    bool IsString() const { return std::holds_alternative<std::string>(value_); }

    int32_t AsInt(int32_t fallback = 0) const;
    double AsReal(double fallback = 0.0) const;
    bool AsBool() const;
    std::string AsString() const;

    // Same type and same value.
    bool operator==(const Variant& other) const { return value_ == other.value_; }
    bool operator!=(const Variant& other) const { return !(*this == other); }

    // Real-number text in the C locale, independent of the user's locale.
    static std::string FormatReal(double number);
    // Reads a whole text (blanks around it allowed) as a real, "." or else "," as the separator.
    static bool ParseReal(std::string_view text, double& number);
    // Reads a whole text (blanks around it allowed) as a 32-bit decimal integer.
    static bool ParseInt(std::string_view text, int32_t& number);

private:
    std::variant<std::monostate, int32_t, double, bool, std::string> value_;
};

} // namespace olv
