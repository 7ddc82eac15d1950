#include "settings/TRegistryEnhanced.h"

namespace olv {

TRegistryEnhanced::TRegistryEnhanced(RegistryStore& store) : store_(&store) {
    pieces_.BreakString = "\\";
}

bool TRegistryEnhanced::CanRead() const {
    return RootKey == hkCurrentUser && Access != kWrite;
}

bool TRegistryEnhanced::CanWrite() const {
    return RootKey == hkCurrentUser && (Access == kWrite || Access == kAllAccess);
}

std::string TRegistryEnhanced::FullKey(std::string_view path, std::string* valueName) const {
    std::string_view base = Key;
    if (!base.empty() && base.back() == '\\')
        base.remove_suffix(1);
    if (!base.empty() && base.front() == '\\')
        base.remove_prefix(1);
    pieces_.BaseString = path;
    pieces_.Split();
    std::vector<std::string>& pieces = pieces_.StringList;
    if (valueName) {
        *valueName = pieces.empty() ? std::string() : pieces.back();
        if (!pieces.empty())
            pieces.pop_back();
    }
    std::string key = "\\" + std::string(base);
    for (const std::string& piece : pieces)
        key += "\\" + piece;
    return key;
}

void TRegistryEnhanced::WriteValue(std::string_view valuePath, const Variant& value) {
    if (!CanWrite())
        return;
    std::string name;
    const std::string key = FullKey(valuePath, &name);
    if (value.IsInt() || value.IsBool())
        store_->WriteInteger(key, name, value.AsInt());
    else
        store_->WriteString(key, name, value.AsString());
}

Variant TRegistryEnhanced::ReadValue(std::string_view valuePath,
                                     const Variant& defaultValue) const {
    if (!CanRead())
        return defaultValue;
    std::string name;
    const std::string key = FullKey(valuePath, &name);
    std::string text;
    if (store_->ReadString(key, name, text))
        return text;
    int32_t number = 0;
    if (store_->ReadInteger(key, name, number))
        return number;
    return defaultValue;
}

std::vector<std::string> TRegistryEnhanced::ValueNames(std::string_view keyPath) const {
    if (!CanRead())
        return {};
    return store_->ValueNames(FullKey(keyPath, nullptr));
}

bool TRegistryEnhanced::DeleteValue(std::string_view valuePath) {
    if (!CanWrite())
        return false;
    std::string name;
    const std::string key = FullKey(valuePath, &name);
    return store_->DeleteValue(key, name);
}

} // namespace olv
