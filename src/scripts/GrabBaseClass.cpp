#include "scripts/GrabBaseClass.h"

#include "platform/Files.h"
#include "util/Log.h"
#include "util/Strings.h"

#include <fstream>

namespace olv {

void GrabBaseClass::Clear() {
    FileText.clear();
    FileName.clear();
    Root.Clear();
    Root.Path = "/";
}

bool GrabBaseClass::LoadFromText(std::string_view fileContents) {
    Root.Clear();
    FileText.clear();
    FileText.reserve(fileContents.size());
    std::vector<size_t> lineEnds;
    for (const std::string& line : SplitLines(fileContents)) {
        FileText.append(TrimView(line));
        lineEnds.push_back(FileText.size());
    }
    return Root.Parse(FileText, "", 0, nullptr, "", "", lineEnds);
}

void GrabBaseClass::LoadFromFile(const std::string& fileName, std::string& message) {
    Clear();
    message.clear();
    FileName = fileName;
    std::string contents;
    if (!FileExists(fileName) || !ReadWholeFile(fileName, contents)) {
        message = "File:" + fileName + " Not Found.";
        return;
    }
    if (!LoadFromText(contents)) {
        message = "File:" + fileName + " nests keys deeper than " +
                  Decimal(GBItemClass::kMaxKeyDepth) + " levels; the deeper keys were skipped.";
        Log(message);
    }
}

std::string GrabBaseClass::SaveToText() const {
    std::vector<std::string> lines;
    Root.WriteTo(lines);
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

void GrabBaseClass::SaveToFile(const std::string& fileName, std::string& message) {
    message.clear();
    SaveFileAtomically(fileName, SaveToText());
}

std::string GrabBaseClass::GetValue(std::string_view path, std::string_view name) {
    const GBItemClass* node = Root.Find(path);
    return node ? node->NV.Get(name) : std::string();
}

void GrabBaseClass::SetValue(std::string_view path, std::string_view name, std::string_view value) {
    if (value.empty())
        return;
    if (GBItemClass* node = Root.Find(path))
        node->NV.Put(name, value);
}

void GrabBaseClass::GetList(std::string_view path, std::string_view name,
                            std::vector<std::string>& list) {
    list.clear();
    if (const GBItemClass* node = Root.Find(path))
        node->NV.ReadList(name, name, list);
}

void GrabBaseClass::SetList(std::string_view path, std::string_view name,
                            const std::vector<std::string>& list) {
    if (!Root.Find(path))
        Root.AddChild(path);
    if (GBItemClass* node = Root.Find(path))
        node->NV.WriteList(name, name, list);
}

void GrabBaseClass::GetChildNames(std::string_view path, std::vector<std::string>& list) {
    list.clear();
    if (const GBItemClass* node = Root.Find(path))
        node->ListChildNames(list);
}

void GrabBaseClass::AddKey(std::string_view path, std::string_view name) {
    if (GBItemClass* node = Root.Find(path))
        node->AddChild(name);
}

std::string GrabBaseClass::GetRevision(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::string line;
    for (int i = 0; i < 6 && in && std::getline(in, line); ++i) {
        if (Find("<REV", UpperCase(line)) == 0)
            continue;
        const int64_t gt = Find(">", line);
        if (gt == 0)
            return "0.0";
        const std::string rest = Substring(line, gt + 1, kMax);
        const int64_t close = Find("</", rest);
        return close == 0 ? "0.0" : Substring(rest, 1, close - 1);
    }
    return "0.0";
}

} // namespace olv
