#include "scripts/NVListClass.h"

#include "scripts/DataFileText.h"
#include "util/Strings.h"

#include <algorithm>

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
    // A list cannot hold more items than there are entries: a damaged count of two billion
    // must not fill the memory with empty items.
    const int n = std::min(StoredCount(baseName), Count());
    for (int i = 0; i < n; ++i)
        list.push_back(Get(std::string(prefix) + Decimal(i)));
}

bool NVListClass::IsListItemName(std::string_view name, std::string_view prefix, int count) {
    if (name.size() <= prefix.size() || !SameText(name.substr(0, prefix.size()), prefix))
        return false;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 10 || (digits.size() > 1 && digits.front() == '0'))
        return false;
    int64_t index = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        index = index * 10 + (c - '0');
    }
    return index < count;
}

void NVListClass::WriteList(std::string_view baseName, std::string_view prefix,
                            const std::vector<std::string>& list) {
    const int old = StoredCount(baseName);
    // One pass over the entries, not one removal per old item.
    size_t kept = 0;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (SameText(names_[i], baseName) || IsListItemName(names_[i], prefix, old))
            continue;
        if (kept != i) {
            names_[kept] = std::move(names_[i]);
            values_[kept] = std::move(values_[i]);
        }
        ++kept;
    }
    names_.resize(kept);
    values_.resize(kept);
    Reindex();
    Put(baseName, Decimal(static_cast<int64_t>(list.size())));
    for (size_t i = 0; i < list.size(); ++i)
        Put(std::string(prefix) + Decimal(static_cast<int64_t>(i)), list[i]);
}

std::string NVListClass::EntryAsTag(int i) const {
    const std::string& name = names_.at(static_cast<size_t>(i));
    return "<" + name + ">" + EscapeForDataFile(values_.at(static_cast<size_t>(i))) + "</" + name +
           ">";
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
