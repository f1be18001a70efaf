// SPDX-License-Identifier: GPL-3.0-or-later
// The on-disk records of a ZIP archive (PKWARE application note, section 4.3) and their fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/os/NativeFile.h"

namespace calvorin {

inline constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
inline constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
inline constexpr std::uint32_t kEndRecordSignature = 0x06054B50;

inline constexpr std::size_t kLocalHeaderSize = 30;    // without name and extra field
inline constexpr std::size_t kCentralHeaderSize = 46;  // without name, extra field and comment
inline constexpr std::size_t kEndRecordSize = 22;      // without comment
inline constexpr std::size_t kEncryptionHeaderSize = 12;

inline constexpr std::uint16_t kZipVersion20 = 20;  // 2.0: deflate and traditional encryption
inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflate = 8;
inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kFlagUtf8Name = 0x0800;

// Without ZIP64 every size and offset must stay below 0xFFFFFFFF, which readers take as the ZIP64
// marker; the same holds for 0xFFFF entries.
inline constexpr std::uint64_t kMaxZip32Value = 0xFFFFFFFEu;
inline constexpr std::size_t kMaxEntries = 0xFFFE;

// MS-DOS attribute bits, the host system that version-made-by 2.0 (high byte 0) names.
inline constexpr std::uint32_t kDosReadOnly = 0x01;
inline constexpr std::uint32_t kDosHidden = 0x02;
inline constexpr std::uint32_t kDosArchive = 0x20;

// The fields an entry carries in its local and its central header.
struct ZipEntryHeader {
    std::uint16_t versionMadeBy = kZipVersion20;
    std::uint16_t versionNeeded = kZipVersion20;
    std::uint16_t flags = 0;
    std::uint16_t method = kMethodDeflate;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localHeaderOffset = 0;
    std::string name;  // as stored: UTF-8 when kFlagUtf8Name is set

    bool Encrypted() const { return (flags & kFlagEncrypted) != 0; }
};

// The bytes of a local header (no extra field) and of a central header (no extra field, no comment).
std::string EncodeLocalHeader(const ZipEntryHeader& entry);
std::string EncodeCentralHeader(const ZipEntryHeader& entry);

// The bytes of the end-of-central-directory record of a single-disk archive without comment.
std::string EncodeEndRecord(std::uint16_t entryCount, std::uint32_t directorySize,
                            std::uint32_t directoryOffset);

// Little-endian fields.
void PutLe16(std::string& out, std::uint16_t value);
void PutLe32(std::string& out, std::uint32_t value);

struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};

// The local wall-clock time of `t` in MS-DOS form (two-second steps), clamped to 1980..2107.
DosDateTime ToDosDateTime(std::time_t t);

// MS-DOS attributes for a file: archive always, read-only when the owner may not write it, hidden when
// the system hides it (a name starting with "." on POSIX).
std::uint32_t DosAttributes(const FileInfo& info);

}  // namespace calvorin
