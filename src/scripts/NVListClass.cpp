#include "scripts/NVListClass.h"

#include "util/Strings.h"

namespace olv {

int NVListClass::IndexOf(std::string_view name) const {
    const auto it = index_.find(UpperCase(name));
    return it == index_.end() ? -1 : it->second;
}

void NVListClass::Put(std::string_view name, std::string_view value) {
    std::string key = UpperCase(name);
    if (const auto it = index_.find(key); it != index_.end()) {
        values_[static_cast<size_t>(it->second)] = std::string(value);
        return;
    }
    index_.emplace(std::move(key), Count());
    names_.emplace_back(name);
    values_.emplace_back(value);
}

std::string NVListClass::Get(std::string_view name) const {
    const int i = IndexOf(name);
    return i < 0 ? std::string() : values_[static_cast<size_t>(i)];
}

void NVListClass::Remove(std::string_view name) {
    const int i = IndexOf(name);
    if (i < 0)
        return;
    names_.erase(names_.begin() + i);
    values_.erase(values_.begin() + i);
    Reindex();
}

void NVListClass::Clear() {
    names_.clear();
    values_.clear();
    index_.clear();
}

void NVListClass::Reindex() {
    index_.clear();
    for (int i = 0; i < Count(); ++i)
        index_.emplace(UpperCase(names_[static_cast<size_t>(i)]), i);
}

int NVListClass::StoredCount(std::string_view baseName) const {
    const std::string count = Get(baseName);
    return Number(count.empty() ? std::string_view("0") : std::string_view(count));
}

void NVListClass::ReadList(std::string_view baseName, std::string_view prefix,
                           std::vector<std::string>& list) const {
    list.clear();
    const int n = StoredCount(baseName);
    for (int i = 0; i < n; ++i)
        list.push_back(Get(std::string(prefix) + Decimal(i)));
}

void NVListClass::WriteList(std::string_view baseName, std::string_view prefix,
                            const std::vector<std::string>& list) {
    const int old = StoredCount(baseName);
    Remove(baseName);
    for (int i = 0; i < old; ++i)
        Remove(std::string(prefix) + Decimal(i));
    Put(baseName, Decimal(static_cast<int64_t>(list.size())));
    for (size_t i = 0; i < list.size(); ++i)
        Put(std::string(prefix) + Decimal(static_cast<int64_t>(i)), list[i]);
}

std::string NVListClass::EntryAsTag(int i) const {
    const std::string& name = names_.at(static_cast<size_t>(i));
    return "<" + name + ">" + values_.at(static_cast<size_t>(i)) + "</" + name + ">";
}

void NVListClass::WriteScriptEntry(std::string_view indent, std::vector<std::string>& output,
                                   int i) const {
    const std::string& name = names_.at(static_cast<size_t>(i));
    const std::string_view value = values_.at(static_cast<size_t>(i));
    const std::string pad(indent);
    output.push_back(pad + "<" + name + ">");
    size_t from = 0;
    while (from < value.size()) {
        const size_t bar = value.find('|', from);
        const size_t end = bar == std::string_view::npos ? value.size() : bar + 1;
        output.push_back(pad + "    " + std::string(value.substr(from, end - from)));
        from = end;
    }
    output.push_back(pad + "</" + name + ">");
}

} // namespace olv
