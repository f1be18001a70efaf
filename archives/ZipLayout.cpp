// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/ZipLayout.h"

#include <algorithm>

#include "platform/os/LocalTime.h"

namespace calvorin {
namespace {

// The fields from "version needed" to "file name length", shared by both headers.
void PutCommonFields(std::string& out, const ZipEntryHeader& entry) {
    PutLe16(out, entry.versionNeeded);
    PutLe16(out, entry.flags);
    PutLe16(out, entry.method);
    PutLe16(out, entry.dosTime);
    PutLe16(out, entry.dosDate);
    PutLe32(out, entry.crc32);
    PutLe32(out, entry.compressedSize);
    PutLe32(out, entry.uncompressedSize);
    PutLe16(out, static_cast<std::uint16_t>(entry.name.size()));
}

}  // namespace

void PutLe16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutLe32(std::string& out, std::uint32_t value) {
    PutLe16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutLe16(out, static_cast<std::uint16_t>(value >> 16));
}

std::string EncodeLocalHeader(const ZipEntryHeader& entry) {
    std::string out;
    out.reserve(kLocalHeaderSize + entry.name.size());
    PutLe32(out, kLocalHeaderSignature);
    PutCommonFields(out, entry);
    PutLe16(out, 0);  // extra field length
    return out + entry.name;
}

std::string EncodeCentralHeader(const ZipEntryHeader& entry) {
    std::string out;
    out.reserve(kCentralHeaderSize + entry.name.size());
    PutLe32(out, kCentralHeaderSignature);
    PutLe16(out, entry.versionMadeBy);
    PutCommonFields(out, entry);
    PutLe16(out, 0);  // extra field length
    PutLe16(out, 0);  // comment length
    PutLe16(out, 0);  // disk number start
    PutLe16(out, 0);  // internal attributes
    PutLe32(out, entry.externalAttributes);
    PutLe32(out, entry.localHeaderOffset);
    return out + entry.name;
}

std::string EncodeEndRecord(std::uint16_t entryCount, std::uint32_t directorySize,
                            std::uint32_t directoryOffset) {
    std::string out;
    out.reserve(kEndRecordSize);
    PutLe32(out, kEndRecordSignature);
    PutLe16(out, 0);  // this disk
    PutLe16(out, 0);  // disk with the central directory
    PutLe16(out, entryCount);
    PutLe16(out, entryCount);
    PutLe32(out, directorySize);
    PutLe32(out, directoryOffset);
    PutLe16(out, 0);  // comment length
    return out;
}

DosDateTime ToDosDateTime(std::time_t t) {
    std::tm local{};
    if (!ToLocalTime(t, local) || local.tm_year < 80) return {0, (1 << 5) | 1};  // 1980-01-01 00:00
    if (local.tm_year > 207) return {(23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31};
    int seconds = std::min(local.tm_sec, 59);  // a leap second would overflow the field
    return {
        static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (seconds / 2)),
        static_cast<std::uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday)};
}

std::uint32_t DosAttributes(const FileInfo& info) {
    std::uint32_t attributes = kDosArchive;
    if (info.readOnly) attributes |= kDosReadOnly;
    if (info.hidden) attributes |= kDosHidden;
    return attributes;
}

}  // namespace calvorin
