#pragma once

#include "platform/RegistryStore.h"
#include "settings/BaseRegClass.h"
#include "settings/Variant.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace olv {

class GrabBaseClass;
class regList;
class TRegistryEnhanced;

// A settings object: typed items declared by name, loaded from the registry in one pass, read
// and changed by name in memory, and written back in one pass.
//
// Keys below the current user's hive (all in one RegistryStore, shared by every settings
// object of the process, so that objects never undo each other's saves):
//   "Software\HalvernWorks"                          scope Shared items; shared copies
//   "Software\HalvernWorks\" + application name       scope App and AppAndShared items
//   same + "\List" + item name                        a list item: values "0", "1", ...
//
// Use it either by deriving (OlvenarRegistryClass: set the application name and declare in the
// constructor, override VersionText) or by declaring into a plain instance:
//   TBaseRegistryClass speech;
//   speech.SetApplicationName("Olvenar\\BaseTTS");
//   speech.Declare("Pitch", RegScope::App, RegType::Int, 50);
//   speech.LoadAll();
//   int pitch = speech.GetValue("Pitch").AsInt();
//   speech.SetValue("Pitch", 60);
//   speech.SaveAll();
//
// Unknown names and GetList on a scalar item are reported through ShowMessage (the program's
// message box), never by throwing. Nothing here throws for file trouble either: the store
// reports that itself.
class TBaseRegistryClass {
public:
    static constexpr std::string_view kSharedRootKey = "Software\\HalvernWorks";

    // A window's placement as the window reports it.
    struct WindowGeometry {
        bool Maximized = false;
        int Top = 0;
        int Left = 0;
        int Width = 0;
        int Height = 0;
    };
    // Where to put a window again.
    struct WindowOrigin {
        int Top = 0;
        int Left = 0;
    };

    explicit TBaseRegistryClass(RegistryStore& store = RegistryStore::Shared());
    TBaseRegistryClass(const TBaseRegistryClass&) = delete;
    TBaseRegistryClass& operator=(const TBaseRegistryClass&) = delete;
    virtual ~TBaseRegistryClass();

    // The version of the program or component that owns the settings ("0.0" here).
    virtual std::string VersionText() const;

    const std::string& ApplicationName() const { return applicationName_; }
    // Initially "change this"; set it before LoadAll.
    void SetApplicationName(std::string name) { applicationName_ = std::move(name); }
    // "Software\HalvernWorks\" + application name.
    std::string ApplicationKey() const;

    // Appends an item of the given type; the default is converted to that type (lists have
    // none). sharedName is the value name of the shared copy for scope AppAndShared; empty
    // means the item's own name. Does not read the registry: call LoadAll afterwards (again,
    // when declaring into an object that was loaded before).
    BaseRegClass& Declare(std::string_view name, RegScope scope, RegType type,
                          const Variant& defaultValue = {}, std::string_view sharedName = {});

    // Reads every item, in declaration order. A scalar item takes the first of: its stored
    // value; the distributor's default in "Reseller.chl" (program folder, root section); for
    // scope AppAndShared the shared copy; its declared default. A stored "defaultvalue", a
    // value of another type, or a text that does not parse as the item's type counts as
    // missing / gives the default. A list takes the values of its key in stored order.
    void LoadAll();
    // Writes, in declaration order, every item this object changed since it last loaded or
    // saved, and every item not stored yet; then saves the store once. An item left as it was
    // is not written, so that a value another program saved meanwhile stays. For scope
    // AppAndShared the shared copy is written when it is absent or empty. A list key is made
    // anew as "0", "1", .... Returns false when the file could not be written (the user has
    // been told; the values stay in memory).
    bool SaveAll();

    // The current value of the first item of that name (case ignored); an empty variant for an
    // unknown name. A list item gives 0.
    Variant GetValue(std::string_view name) const;
    // Changes the current value; nothing is written until SaveAll.
    void SetValue(std::string_view name, const Variant& value);
    // The list item's own list, to read and change in place (SaveAll persists it). An unknown
    // name or a scalar item gives an empty scratch list.
    std::vector<std::string>& GetList(std::string_view name);

    const std::vector<std::unique_ptr<BaseRegClass>>& Items() const { return items_; }

    // Key "Software\HalvernWorks\Windows\" + program file name + "\" + form name. A maximised
    // window writes only "Maximized" = "1" (the last normal position stays); otherwise
    // "Maximized" = "0", "Top", "Left", "Width", "Height".
    void SaveWindowPosition(std::string_view formName, const WindowGeometry& geometry);
    // The saved top-left corner, moved so that the saved size fits on a screen of the given
    // size and never negative; nothing when no position was saved. Size and maximised state
    // are not restored.
    std::optional<WindowOrigin> RestoreWindowPosition(std::string_view formName, int screenWidth,
                                                      int screenHeight) const;

    // "StartupSaved" in the application key: "1" once the first-run preferences were saved.
    bool IsStartupSaved() const;
    void MarkStartupSaved();
    // Deletes one value from the application key; false when it was not there.
    bool DeleteAppValue(std::string_view valueName);

    // Free values in "Software\HalvernWorks\" + program file name; "" when absent.
    void WriteExeValue(std::string_view valueName, std::string_view text);
    std::string ReadExeValue(std::string_view valueName) const;

    // "Software\HalvernWorks\FirstTimeDownloads", value named by the program file name: true
    // until ClearFirstTimeDownload has written "0".
    bool IsFirstTimeDownload() const;
    void ClearFirstTimeDownload();

    RegistryStore& Store() const { return *store_; }

private:
    TRegistryEnhanced Registry() const;
    BaseRegClass* FindItem(std::string_view name) const;
    BaseRegClass* FindItemOrComplain(std::string_view name) const;
    std::string ItemKeyPath(const BaseRegClass& item) const;
    std::string ListKeyPath(const BaseRegClass& item) const;
    std::string WindowKeyPath(std::string_view formName) const;
    std::string StoredText(const BaseRegClass& item, const GrabBaseClass& reseller) const;
    void LoadList(regList& list) const;
    void SaveList(const regList& list);
    // Writes a changed item; one not stored yet only where no other program stored it.
    void SaveScalar(const BaseRegClass& item, bool changed);

    // An item as this object last loaded or saved it.
    struct Baseline {
        bool Known = false;
        std::string Text;
        std::vector<std::string> List;
    };
    void RememberBaseline(size_t index);
    bool ChangedSinceBaseline(size_t index) const;
    bool IsStored(const BaseRegClass& item) const;

    RegistryStore* store_;
    std::string applicationName_ = "change this";
    std::vector<std::unique_ptr<BaseRegClass>> items_;
    std::vector<Baseline> baselines_; // one per item
    std::vector<std::string> scratchList_;
};

} // namespace olv
