// SPDX-License-Identifier: GPL-3.0-or-later
// An Access (Jet 3 or Jet 4) file opened for reading: its version, page size, and its pages deciphered.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/fs/FileHandle.h"

namespace calvorin {

// Jet 3 is Access 97 (2048-byte pages), Jet 4 Access 2000-2003 (4096-byte pages); the later ACE
// versions keep Jet 4's layout.
enum class JetVersion { Jet3, Jet4 };

class JetFile {
  public:
    // Opens the file and reads its header page. Throws std::runtime_error with the file handle's message
    // when the file cannot be opened or read, "formato Access non riconosciuto" when its header is not a
    // Jet one, "file troncato" when it does not hold a whole number of pages.
    explicit JetFile(const std::filesystem::path& path);

    JetVersion Version() const { return version_; }
    bool IsJet3() const { return version_ == JetVersion::Jet3; }
    std::size_t PageSize() const { return pageSize_; }
    std::uint64_t PageCount() const { return pageCount_; }
    // Whether the pages after the header are enciphered ("encoded" in Access's words).
    bool Encoded() const { return key_ != 0; }

    // Reads page `page` into `into`, which must hold PageSize() bytes, and deciphers it when the file is
    // encoded. Returns false, reading nothing, when the page lies past the end of the file. Throws
    // std::runtime_error when the file cannot be read or has shrunk since it was opened.
    [[nodiscard]] bool ReadPage(std::uint64_t page, std::span<unsigned char> into) const;

  private:
    FileHandle file_;
    JetVersion version_ = JetVersion::Jet4;
    std::size_t pageSize_ = 0;
    std::uint64_t pageCount_ = 0;
    std::uint32_t key_ = 0;
    // Pages read ahead in one system call: tables lie on runs of pages, and each call costs more than
    // the copy (many times more under Wine). Raw bytes; deciphered as each page is handed out.
    mutable std::vector<unsigned char> window_;
    mutable std::uint64_t windowFirst_ = 0;
    mutable std::uint64_t windowPages_ = 0;
};

// Jet's fixed parts of an encoded file, for the code that writes one.
namespace jet_header {
// The header page's bytes from kMaskedAt on are masked with RC4 under kMaskKey, in every file.
inline constexpr std::size_t kMaskedAt = 0x18;
inline constexpr std::array<unsigned char, 4> kMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
// The database key (little-endian, under the mask): 0 in a file that is not encoded. Page n > 0 of an
// encoded file is RC4-enciphered under PageKey(key, n).
inline constexpr std::size_t kKeyAt = 0x3E;

inline std::array<unsigned char, 4> PageKey(std::uint32_t key, std::uint64_t page) {
    const auto k = key ^ static_cast<std::uint32_t>(page);
    return {static_cast<unsigned char>(k), static_cast<unsigned char>(k >> 8),
            static_cast<unsigned char>(k >> 16), static_cast<unsigned char>(k >> 24)};
}
}  // namespace jet_header

}  // namespace calvorin
