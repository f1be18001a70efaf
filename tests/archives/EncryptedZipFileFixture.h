// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP writer's fixture: source files written here, archived, and read back.
#pragma once

#include <zlib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ArchiveTestSupport.h"
#include "archives/EncryptedZipFile.h"
#include "platform/crypto/Random.h"
#include "support/TempDir.h"
#include "support/zip/ZipReader.h"

namespace calvorin::test {

struct SourceFile {
    std::string name;
    std::string content;
    bool operator==(const SourceFile&) const = default;
};

inline void PrintTo(const SourceFile& file, std::ostream* out) {
    *out << file.name << " (" << file.content.size() << " bytes)";
}

inline std::uint32_t Crc(std::string_view data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

inline std::size_t DeflatedSize(std::string_view data) {
    return Deflated(data).size();
}

class EncryptedZipFileTest : public ::testing::Test {
  protected:
    std::filesystem::path Write(const SourceFile& file) {
        auto path = dir_ / "src" / Utf8Path(file.name);
        WriteBytes(path, file.content);
        return path;
    }

    std::filesystem::path MakeArchive(const std::string& password, const std::vector<SourceFile>& files,
                                      unsigned threads = 0) {
        auto archive = dir_ / "archive.zip";
        TEncryptedZipFile zip(password);
        zip.SetThreads(threads);
        zip.Open(archive);
        for (const SourceFile& file : files) zip.Add(Write(file), file.name);
        zip.Close();
        return archive;
    }

    // The archive's entries by name, each read back by the program's own reader with its CRC checked.
    std::vector<SourceFile> ReadBack(const std::filesystem::path& archive, const std::string& password) {
        FileByteSource source(archive);
        ZipReader reader(source, password);
        std::vector<SourceFile> files;
        for (const ZipEntryHeader& entry : reader.Entries())
            files.push_back({entry.name, reader.ExtractToString(entry)});
        return files;
    }

    test::TempDir dir_;
};

// Gives the file the local time 2024-03-05 14:27:39 (DOS time has two-second steps: read back as 38)
// and the read-only attribute (no one may write it).
inline void MakeReadOnlyWithTime(const std::filesystem::path& path) {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 14;
    local.tm_min = 27;
    local.tm_sec = 39;
    local.tm_isdst = -1;
    std::filesystem::last_write_time(
        path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(std::mktime(&local))));
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
}

inline const std::vector<SourceFile>& SampleFiles() {
    static const std::vector<SourceFile> files = {
        {"dati.txt", SampleText(200000)},
        {"vuoto.bin", ""},
        {"casuale.bin", RandomBytes(70000)},
        {"Società è più.txt", "contenuto con accenti: àèìòù"},
    };
    return files;
}

}  // namespace calvorin::test
