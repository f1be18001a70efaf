// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/DatabaseKind.h"

#include <stdexcept>
#include <string>

#include "platform/db/SqliteConnection.h"
#include "platform/fs/FileHandle.h"
#include "platform/os/NativeFile.h"

namespace calvorin {
namespace {

constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};
constexpr std::size_t kJetMagicOffset = 4;
constexpr std::string_view kJetMagic = "Standard Jet DB";
constexpr std::string_view kAceMagic = "Standard ACE DB";
// The engine version byte: 0 for Jet 3, 1 for Jet 4, higher for ACE.
constexpr std::size_t kJetVersionOffset = 0x14;

bool HasAt(std::string_view header, std::size_t offset, std::string_view magic) {
    return header.size() >= offset + magic.size() && header.substr(offset, magic.size()) == magic;
}

std::string ReadHeader(const std::filesystem::path& file) {
    FileInfo info;
    if (PathInfo(file, info)) throw std::runtime_error(OpenErrorPrefix(file) + "il file non esiste");
    if (info.type != FileType::Regular) throw std::runtime_error(OpenErrorPrefix(file) + "non è un file");
    std::string header(32, '\0');
    try {
        const FileHandle in = FileHandle::OpenForReading(file);
        std::size_t done = 0;
        while (done < header.size()) {
            const std::size_t got = in.ReadSomeAt(done, header.data() + done, header.size() - done);
            if (got == 0) break;
            done += got;
        }
        header.resize(done);
    } catch (const std::runtime_error&) {
        throw std::runtime_error(OpenErrorPrefix(file) + "impossibile leggere il file");
    }
    return header;
}

}  // namespace

DatabaseKind DatabaseKindOfHeader(const std::filesystem::path& file, std::string_view header) {
    if (HasAt(header, 0, kSqliteMagic)) return DatabaseKind::Sqlite;
    if (HasAt(header, kJetMagicOffset, kJetMagic) || HasAt(header, kJetMagicOffset, kAceMagic)) {
        const bool jet3 = HasAt(header, kJetMagicOffset, kJetMagic) && header.size() > kJetVersionOffset &&
                          header[kJetVersionOffset] == 0;
        return jet3 ? DatabaseKind::Jet3 : DatabaseKind::Jet4;
    }
    throw std::runtime_error(OpenErrorPrefix(file) + "il file non è un database SQLite o Access");
}

DatabaseKind DetectDatabaseKind(const std::filesystem::path& file) {
    return DatabaseKindOfHeader(file, ReadHeader(file));
}

}  // namespace calvorin
