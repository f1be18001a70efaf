// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/JetLongValue.h"

#include <algorithm>
#include <cstdint>

#include "platform/db/JetBytes.h"
#include "platform/db/JetPageRows.h"

namespace calvorin {
namespace {

constexpr std::size_t kHeader = 12;
constexpr std::uint32_t kInline = 0x80000000;
constexpr std::uint32_t kSinglePage = 0x40000000;
constexpr std::uint32_t kFlagsMask = 0xFF000000;
constexpr std::size_t kNextPointer = 4;  // each row of a chain starts with the pointer to the next

void Append(std::string& out, std::span<const unsigned char> bytes) {
    out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

JetLongValueReader::JetLongValueReader(const JetFile& file) : file_(file), page_(file.PageSize()) {}

// A pointer names a page in its high 24 bits and a row of it in the low 8.
bool JetLongValueReader::Row(std::uint32_t pointer, std::span<const unsigned char>& row) {
    if (!read_.insert(pointer).second || !file_.ReadPage(pointer >> 8, page_)) return false;
    const std::optional<JetRowSlot> slot = FindRowSlot(page_, file_.Version(), pointer & 0xFF);
    if (!slot) return false;
    row = std::span<const unsigned char>(page_).subspan(slot->start, slot->size);
    return true;
}

bool JetLongValueReader::Read(std::span<const unsigned char> field, std::string& out) {
    out.clear();
    if (field.size() < kHeader) return false;
    const std::uint32_t flags = Le32(field.data());
    std::uint32_t pointer = Le32(field.data() + 4);
    const std::size_t length = flags & ~kFlagsMask;
    std::span<const unsigned char> row;
    if (flags & kInline) {
        Append(out, field.subspan(kHeader));
        return true;
    }
    if (flags & kSinglePage) {
        if (!Row(pointer, row)) return false;
        Append(out, row.first(std::min(length, row.size())));
        return true;
    }
    if ((flags & kFlagsMask) != 0) return false;
    // A chain: each row adds at least a byte and is read once, so one that loops ends.
    while (pointer != 0 && out.size() < length) {
        if (!Row(pointer, row) || row.size() <= kNextPointer) return false;
        pointer = Le32(row.data());
        row = row.subspan(kNextPointer);
        Append(out, row.first(std::min(length - out.size(), row.size())));
    }
    return out.size() >= length;
}

}  // namespace calvorin
