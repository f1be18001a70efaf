// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/DatabaseKind.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/db/SqliteConnection.h"

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
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        throw std::runtime_error(OpenErrorPrefix(file) + "il file non esiste");
    if (!std::filesystem::is_regular_file(file, ec))
        throw std::runtime_error(OpenErrorPrefix(file) + "non è un file");
    std::ifstream in(file, std::ios::binary);
    std::string header(32, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    if (in.bad() || (!in && !in.eof()))
        throw std::runtime_error(OpenErrorPrefix(file) + "impossibile leggere il file");
    header.resize(static_cast<std::size_t>(in.gcount()));
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
