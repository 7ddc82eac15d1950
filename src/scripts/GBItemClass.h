#pragma once

#include "scripts/NVListClass.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

// One node of a data file's tree of keys, with its own name/value list.
class GBItemClass {
public:
    GBItemClass() = default;
    GBItemClass(const GBItemClass&) = delete;
    GBItemClass& operator=(const GBItemClass&) = delete;

    // Keys nest at most this deep below the node parsed; deeper ones are skipped whole.
    static constexpr int kMaxKeyDepth = 16;

    // Fills the node (and its children) from joined data-file text; lineEnds are the offsets
    // in text where the file's lines ended (none: one line). False when keys nested too deep
    // were skipped.
    bool Parse(std::string_view text, const std::string& parentPath, int level, GBItemClass* parent,
               const std::string& keyword, const std::string& name,
               const std::vector<size_t>& lineEnds = {});

    // The node whose Path equals path (this node for "/"), searching depth first; or nullptr.
    GBItemClass* Find(std::string_view path);

    // Appends a child (a leading "/" of the name is dropped) unless one of that name exists.
    void AddChild(std::string_view name);
    void ListChildNames(std::vector<std::string>& list) const;
    void Clear();

    // Appends the node's lines in the data-file layout.
    void WriteTo(std::vector<std::string>& lines) const;

    GBItemClass* Parent = nullptr;
    std::string Name;
    std::string Keyword;
    std::string Path = "/";
    std::string Text;
    std::vector<std::unique_ptr<GBItemClass>> Children;
    NVListClass NV;
    int Level = 0;

private:
    GBItemClass* FindChild(std::string_view name) const;
    // Appends an empty child one level below.
    GBItemClass& NewChild();
};

} // namespace olv
