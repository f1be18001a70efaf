// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFile.h"

#include <algorithm>
#include <system_error>

#include "platform/os/NativeFile.h"

#include "platform/text/Integer.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

// Folds ASCII letters and the accented capitals of Latin-1 (U+00C0 to U+00DE but U+00D7, two UTF-8
// bytes C3 80..9E) to lower case: "MODALITÀ" and "Modalità" name the same key, as on Windows.
std::string FoldName(std::string_view name) {
    std::string folded = AsciiLower(name);
    for (std::size_t i = 1; i < folded.size(); ++i) {
        auto c = static_cast<unsigned char>(folded[i]);
        if (folded[i - 1] == '\xC3' && c >= 0x80 && c <= 0x9E && c != 0x97)
            folded[i] = static_cast<char>(c + 0x20);
    }
    return folded;
}

std::string OneLine(std::string_view value) {
    std::string line(value);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

}  // namespace

IniFile IniFile::Load(const std::filesystem::path& file) {
    FileInfo info;
    if (KindOf(PathInfo(file, info)) == ErrorKind::NotFound) return IniFile{};
    return Parse(ReadFileBytes(file));
}

IniFile IniFile::Parse(std::string_view bytes) {
    DecodedText text = DecodeText(bytes);
    IniFile ini;
    ini.encoding_ = text.encoding;
    Section* current = nullptr;
    for (const std::string& raw : SplitLines(text.utf8)) ini.AddLine(current, TrimView(raw));
    return ini;
}

void IniFile::AddLine(Section*& current, std::string_view line) {
    if (line.empty() || line.starts_with(';')) return;
    if (line.starts_with('[') && line.ends_with(']')) {
        current = &SectionForWriting(TrimView(line.substr(1, line.size() - 2)));
        return;
    }
    std::size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) return;
    std::string_view key = TrimView(line.substr(0, equals));
    if (!key.empty()) current->Add(key, Trim(line.substr(equals + 1)));
}

std::size_t IniFile::Section::IndexOf(std::string_view key) const {
    auto it = firstEntry.find(FoldName(key));
    return it == firstEntry.end() ? entries.size() : it->second;
}

void IniFile::Section::Add(std::string_view key, std::string value) {
    // A repeated key is kept for writing, but lookups keep finding its first occurrence.
    firstEntry.try_emplace(FoldName(key), entries.size());
    entries.push_back({std::string(key), std::move(value)});
}

std::vector<std::string> IniFile::Sections() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) names.push_back(section.name);
    return names;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    auto it = sectionIndex_.find(FoldName(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section& IniFile::SectionForWriting(std::string_view name) {
    auto [it, added] = sectionIndex_.try_emplace(FoldName(name), sections_.size());
    if (!added) return sections_[it->second];
    return sections_.emplace_back(Section{std::string(name), {}, {}});
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return ReadValue(section, key).has_value();
}

std::optional<std::string> IniFile::ReadValue(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) return std::nullopt;
    const std::size_t entry = found->IndexOf(key);
    if (entry == found->entries.size()) return std::nullopt;
    return Trim(found->entries[entry].value);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    return ReadValue(section, key).value_or(std::string(def));
}

std::int64_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int64_t def) const {
    auto value = ReadValue(section, key);
    if (!value) return def;
    auto number = ParseInteger(*value);
    return number ? *number : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section& target = SectionForWriting(section);
    const std::size_t entry = target.IndexOf(key);
    if (entry < target.entries.size())
        target.entries[entry].value = OneLine(value);
    else
        target.Add(key, OneLine(value));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Serialize() const {
    std::vector<std::string> lines;
    for (const Section& section : sections_) {
        lines.push_back("[" + section.name + "]");
        for (const Entry& entry : section.entries) lines.push_back(entry.key + "=" + entry.value);
        lines.emplace_back();
    }
    return EncodeText(JoinCrlf(lines), encoding_);
}

std::optional<std::string> IniFile::Save(const std::filesystem::path& file) const {
    return WriteFileAtomic(file, Serialize(), NewFileMode::OwnerOnly);
}

}  // namespace calvorin
