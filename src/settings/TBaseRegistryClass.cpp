#include "settings/TBaseRegistryClass.h"

#include "platform/MessageHook.h"
#include "platform/Paths.h"
#include "scripts/GrabBaseClass.h"
#include "settings/TRegistryEnhanced.h"
#include "settings/regBool.h"
#include "settings/regInt.h"
#include "settings/regList.h"
#include "settings/regReal.h"
#include "settings/regString.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <algorithm>

namespace olv {
namespace {

// What a missing value reads as while loading; a stored "defaultvalue" counts as missing too.
constexpr std::string_view kMissing = "defaultvalue";

template <class Item>
std::unique_ptr<BaseRegClass> MakeScalar(std::string& name, RegScope scope, std::string& sharedName,
                                         const Variant& defaultValue) {
    return std::make_unique<Item>(std::move(name), scope, std::move(sharedName), defaultValue);
}

std::unique_ptr<BaseRegClass> MakeItem(std::string name, RegScope scope, RegType type,
                                       const Variant& defaultValue, std::string sharedName) {
    switch (type) {
    case RegType::Int:
        return MakeScalar<regInt>(name, scope, sharedName, defaultValue);
    case RegType::Real:
        return MakeScalar<regReal>(name, scope, sharedName, defaultValue);
    case RegType::Bool:
        return MakeScalar<regBool>(name, scope, sharedName, defaultValue);
    case RegType::String:
        return MakeScalar<regString>(name, scope, sharedName, defaultValue);
    case RegType::List:
        break;
    }
    return std::make_unique<regList>(std::move(name), scope, std::move(sharedName));
}

void LoadResellerDefaults(GrabBaseClass& reseller) {
    std::string message;
    try {
        reseller.LoadFromFile(ProgramFolder() + "Reseller.chl", message);
    } catch (const std::exception& e) {
        Log(std::string("Reseller.chl cannot be read: ") + e.what());
        reseller.Clear();
    }
}

} // namespace

TBaseRegistryClass::TBaseRegistryClass(RegistryStore& store) : store_(&store) {}

TBaseRegistryClass::~TBaseRegistryClass() = default;

std::string TBaseRegistryClass::VersionText() const {
    return "0.0";
}

std::string TBaseRegistryClass::ApplicationKey() const {
    return std::string(kSharedRootKey) + "\\" + applicationName_;
}

TRegistryEnhanced TBaseRegistryClass::Registry() const {
    TRegistryEnhanced registry(*store_);
    registry.Key = kSharedRootKey;
    return registry;
}

// ---- items -----------------------------------------------------------------------------------

BaseRegClass& TBaseRegistryClass::Declare(std::string_view name, RegScope scope, RegType type,
                                          const Variant& defaultValue,
                                          std::string_view sharedName) {
    // A shared copy under the empty name would land on the root key's default value.
    const std::string_view shared =
        scope == RegScope::AppAndShared && sharedName.empty() ? name : sharedName;
    items_.push_back(MakeItem(std::string(name), scope, type, defaultValue, std::string(shared)));
    baselines_.emplace_back();
    return *items_.back();
}

BaseRegClass* TBaseRegistryClass::FindItem(std::string_view name) const {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [&](const auto& item) { return SameText(item->Name, name); });
    return it == items_.end() ? nullptr : it->get();
}

BaseRegClass* TBaseRegistryClass::FindItemOrComplain(std::string_view name) const {
    BaseRegClass* item = FindItem(name);
    if (!item)
        ShowMessage("No such registry item as name between equals =" + std::string(name) + "=");
    return item;
}

Variant TBaseRegistryClass::GetValue(std::string_view name) const {
    const BaseRegClass* item = FindItemOrComplain(name);
    return item ? item->GetValue() : Variant();
}

void TBaseRegistryClass::SetValue(std::string_view name, const Variant& value) {
    if (BaseRegClass* item = FindItemOrComplain(name))
        item->SetValue(value);
}

std::vector<std::string>& TBaseRegistryClass::GetList(std::string_view name) {
    scratchList_.clear();
    BaseRegClass* item = FindItemOrComplain(name);
    if (!item)
        return scratchList_;
    if (auto* list = dynamic_cast<regList*>(item))
        return list->List;
    ShowMessage(std::string(name) + " is not a StringList Item.");
    return scratchList_;
}

// ---- loading and saving ----------------------------------------------------------------------

std::string TBaseRegistryClass::ItemKeyPath(const BaseRegClass& item) const {
    return item.Scope == RegScope::Shared ? std::string() : applicationName_;
}

std::string TBaseRegistryClass::ListKeyPath(const BaseRegClass& item) const {
    return ItemKeyPath(item) + "\\List" + item.Name;
}

std::string TBaseRegistryClass::StoredText(const BaseRegClass& item,
                                           const GrabBaseClass& reseller) const {
    const TRegistryEnhanced registry = Registry();
    std::string text =
        registry.ReadValue(ItemKeyPath(item) + "\\" + item.Name, kMissing).AsString();
    if (text != kMissing)
        return text;
    const std::string distributorDefault = reseller.Root.NV.Get(item.Name);
    if (!distributorDefault.empty())
        return distributorDefault;
    if (item.Scope == RegScope::AppAndShared)
        text = registry.ReadValue(item.SharedName, kMissing).AsString();
    return text != kMissing ? text : item.DefaultAsText();
}

void TBaseRegistryClass::LoadList(regList& list) const {
    list.List.clear();
    const TRegistryEnhanced registry = Registry();
    const std::string key = ListKeyPath(list);
    for (const std::string& name : registry.ValueNames(key))
        list.List.push_back(registry.ReadValue(key + "\\" + name, "").AsString());
}

void TBaseRegistryClass::LoadAll() {
    GrabBaseClass reseller;
    LoadResellerDefaults(reseller);
    for (size_t i = 0; i < items_.size(); ++i) {
        if (auto* list = dynamic_cast<regList*>(items_[i].get()))
            LoadList(*list);
        else
            items_[i]->SetFromText(StoredText(*items_[i], reseller));
        RememberBaseline(i);
    }
}

void TBaseRegistryClass::RememberBaseline(size_t index) {
    Baseline& baseline = baselines_[index];
    baseline.Known = true;
    if (const auto* list = dynamic_cast<const regList*>(items_[index].get()))
        baseline.List = list->List;
    else
        baseline.Text = items_[index]->ValueAsText();
}

bool TBaseRegistryClass::ChangedSinceBaseline(size_t index) const {
    const Baseline& baseline = baselines_[index];
    if (!baseline.Known)
        return true;
    if (const auto* list = dynamic_cast<const regList*>(items_[index].get()))
        return list->List != baseline.List;
    return items_[index]->ValueAsText() != baseline.Text;
}

bool TBaseRegistryClass::IsStored(const BaseRegClass& item) const {
    if (item.Type() == RegType::List)
        return store_->KeyExists(std::string(kSharedRootKey) + "\\" + ListKeyPath(item));
    return !Registry().ReadValue(ItemKeyPath(item) + "\\" + item.Name, Variant()).IsEmpty();
}

void TBaseRegistryClass::SaveList(const regList& list) {
    TRegistryEnhanced registry = Registry();
    const std::string key = ListKeyPath(list);
    // Made anew, so that the merge of a save replaces the stored list as a whole.
    const std::string fullKey = std::string(kSharedRootKey) + "\\" + key;
    store_->DeleteKey(fullKey);
    store_->CreateKey(fullKey);
    for (size_t i = 0; i < list.List.size(); ++i)
        registry.WriteValue(key + "\\" + Decimal(static_cast<int64_t>(i)), list.List[i]);
}

void TBaseRegistryClass::SaveScalar(const BaseRegClass& item, bool changed) {
    if (changed) {
        Registry().WriteValue(ItemKeyPath(item) + "\\" + item.Name, item.ValueAsText());
        return;
    }
    // Not stored yet: another program may store it before this save is merged, and wins.
    store_->WriteStringWhereEmpty(std::string(kSharedRootKey) + "\\" + ItemKeyPath(item), item.Name,
                                  item.ValueAsText());
}

bool TBaseRegistryClass::SaveAll() {
    {
        RegistryStore::DeferSaves oneSave(*store_);
        for (size_t i = 0; i < items_.size(); ++i) {
            const BaseRegClass& item = *items_[i];
            const bool changed = ChangedSinceBaseline(i);
            if (changed || !IsStored(item)) {
                if (const auto* list = dynamic_cast<const regList*>(&item))
                    SaveList(*list);
                else
                    SaveScalar(item, changed);
            }
            // An existing shared copy belongs to the other programs too: never overwrite it.
            if (item.Scope == RegScope::AppAndShared && item.Type() != RegType::List)
                store_->WriteStringWhereEmpty(kSharedRootKey, item.SharedName, item.ValueAsText());
            RememberBaseline(i);
        }
    }
    return !store_->HasUnsavedChanges();
}

// ---- fixed-key helpers -----------------------------------------------------------------------

std::string TBaseRegistryClass::WindowKeyPath(std::string_view formName) const {
    return "Windows\\" + ProgramFileName() + "\\" + std::string(formName) + "\\";
}

void TBaseRegistryClass::SaveWindowPosition(std::string_view formName,
                                            const WindowGeometry& geometry) {
    RegistryStore::DeferSaves oneSave(*store_);
    TRegistryEnhanced registry = Registry();
    const std::string key = WindowKeyPath(formName);
    registry.WriteValue(key + "Maximized", geometry.Maximized ? "1" : "0");
    if (geometry.Maximized)
        return;
    registry.WriteValue(key + "Top", Decimal(geometry.Top));
    registry.WriteValue(key + "Left", Decimal(geometry.Left));
    registry.WriteValue(key + "Width", Decimal(geometry.Width));
    registry.WriteValue(key + "Height", Decimal(geometry.Height));
}

std::optional<TBaseRegistryClass::WindowOrigin>
TBaseRegistryClass::RestoreWindowPosition(std::string_view formName, int screenWidth,
                                          int screenHeight) const {
    const TRegistryEnhanced registry = Registry();
    const std::string key = WindowKeyPath(formName);
    const auto read = [&](const char* name) { return registry.ReadValue(key + name, "0").AsInt(); };
    const int height = read("Height");
    if (height == 0)
        return std::nullopt;
    const int width = read("Width");
    WindowOrigin origin{read("Top"), read("Left")};
    if (origin.Left + width > screenWidth)
        origin.Left = screenWidth - width;
    if (origin.Top + height > screenHeight)
        origin.Top = screenHeight - height;
    origin.Left = std::max(origin.Left, 0);
    origin.Top = std::max(origin.Top, 0);
    return origin;
}

bool TBaseRegistryClass::IsStartupSaved() const {
    return Registry().ReadValue(applicationName_ + "\\StartupSaved", "0").AsString() == "1";
}

void TBaseRegistryClass::MarkStartupSaved() {
    Registry().WriteValue(applicationName_ + "\\StartupSaved", "1");
}

bool TBaseRegistryClass::DeleteAppValue(std::string_view valueName) {
    return Registry().DeleteValue(applicationName_ + "\\" + std::string(valueName));
}

void TBaseRegistryClass::WriteExeValue(std::string_view valueName, std::string_view text) {
    Registry().WriteValue(ProgramFileName() + "\\" + std::string(valueName), text);
}

std::string TBaseRegistryClass::ReadExeValue(std::string_view valueName) const {
    return Registry().ReadValue(ProgramFileName() + "\\" + std::string(valueName), "").AsString();
}

bool TBaseRegistryClass::IsFirstTimeDownload() const {
    return Registry().ReadValue("FirstTimeDownloads\\" + ProgramFileName(), "1").AsString() == "1";
}

void TBaseRegistryClass::ClearFirstTimeDownload() {
    Registry().WriteValue("FirstTimeDownloads\\" + ProgramFileName(), "0");
}

} // namespace olv
