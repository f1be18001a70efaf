// SPDX-License-Identifier: GPL-3.0-or-later
// INI text files as Windows reads them: sections, keys and values, in the file's own encoding.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/fs/Files.h"
#include "platform/text/Encoding.h"

namespace calvorin {

// An INI file held in memory. Reading rules: every line is trimmed of blanks and control characters;
// empty lines and lines starting with ";" are skipped; "[name]" starts a section; other lines are
// key "=" value, split at the first "=" with blanks around it ignored; lines before the first section
// and lines without "=" hold nothing. Section and key names match without regard to letter case (ASCII
// and the accented Latin-1 letters). A key given twice reads as its first occurrence; a section given
// twice is one section, the later keys added after the earlier ones. On writing, sections come in the
// order they were first seen or added, each followed by one empty line, lines end in CR LF, and the
// encoding (byte-order mark included) is the one the file was loaded with.
class IniFile {
  public:
    // Returns the file's contents. A missing file gives an empty one in the Ansi encoding (Windows-1252,
    // no byte-order mark); a file that exists but cannot be read throws std::runtime_error.
    static IniFile Load(const std::filesystem::path& file);

    // Returns the contents of file bytes, decoded by their byte-order mark (Windows-1252 without one).
    static IniFile Parse(std::string_view bytes);

    // Returns the section names in file order, each once, as first written.
    std::vector<std::string> Sections() const;

    bool HasSection(std::string_view section) const { return FindSection(section) != nullptr; }
    bool HasKey(std::string_view section, std::string_view key) const;

    // Returns the key's value, trimmed, or nothing when the section or key is missing.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;

    // Returns the key's value, trimmed, or `def` when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;

    // Returns the value as a 32-bit integer: optional sign, then decimal digits, or hexadecimal digits
    // after "$", "0x" or "0X" (up to 8, read as the 32 bits of the result). Anything else - a missing
    // key, an empty text, "true", "12a", a decimal beyond 32 bits - gives `def`.
    std::int64_t ReadInteger(std::string_view section, std::string_view key, std::int64_t def) const;

    // Returns ReadInteger(...) != 0, with `def` when the value is no integer.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Sets the key's value (its first occurrence), adding the section and the key at the end when missing.
    // Line breaks in the value become blanks, so a value can never start another line of the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    // Writes "1" or "0".
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Drops all sections and keys; the encoding stays.
    void Clear() {
        sections_.clear();
        sectionIndex_.clear();
    }

    // Takes the sections and keys of `other` in place of its own; the encoding stays.
    void ReplaceEntries(const IniFile& other) {
        sections_ = other.sections_;
        sectionIndex_ = other.sectionIndex_;
    }

    TextEncoding Encoding() const { return encoding_; }

    // Returns the bytes Save writes.
    std::string Serialize() const;

    // Replaces the file with Serialize() atomically. Throws std::runtime_error when it cannot be written,
    // leaving the previous file as it was. A new file is readable by its owner only: the settings file
    // holds the secrets. Returns WriteFileAtomic's warning, if any.
    std::optional<std::string> Save(const std::filesystem::path& file) const;

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    // Lookups go through indexes keyed by the folded name, so that loading and every lookup cost the
    // same whatever the number of sections and keys; the vectors keep the file order for writing.
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> firstEntry;  // folded key -> its first occurrence

        // Returns the position of the key's first occurrence, or entries.size() when it is missing.
        std::size_t IndexOf(std::string_view key) const;
        void Add(std::string_view key, std::string value);
    };

    const Section* FindSection(std::string_view name) const;
    Section& SectionForWriting(std::string_view name);
    void AddLine(Section*& current, std::string_view line);

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> position in sections_
    TextEncoding encoding_ = TextEncoding::Ansi;
};

}  // namespace calvorin
