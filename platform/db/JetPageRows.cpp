// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/JetPageRows.h"

#include "platform/db/JetBytes.h"

namespace calvorin {
namespace {

// Flags in the high bits of a row's offset.
constexpr std::uint16_t kDeletedRow = 0x8000;
constexpr std::uint16_t kOverflowRow = 0x4000;
constexpr std::uint16_t kOffsetMask = 0x1FFF;

}  // namespace

std::optional<std::size_t> RowSlotCount(std::span<const unsigned char> page, JetVersion version) {
    const std::size_t at = RowCountOffset(version);
    if (page.size() < at + 2) return std::nullopt;
    const std::size_t count = Le16(page.data() + at);
    if (at + 2 + 2 * count > page.size()) return std::nullopt;
    return count;
}

std::optional<JetRowSlot> FindRowSlot(std::span<const unsigned char> page, JetVersion version,
                                      std::size_t row) {
    const std::optional<std::size_t> count = RowSlotCount(page, version);
    if (!count || row >= *count) return std::nullopt;
    const unsigned char* offsets = page.data() + RowCountOffset(version) + 2;
    const std::uint16_t offset = Le16(offsets + 2 * row);
    const std::size_t start = offset & kOffsetMask;
    const std::size_t end = row == 0 ? page.size() : Le16(offsets + 2 * (row - 1)) & kOffsetMask;
    const bool deleted = (offset & kDeletedRow) != 0;
    if (start > end || end > page.size()) {
        if (deleted) return JetRowSlot{0, 0, true, false};
        return std::nullopt;
    }
    return JetRowSlot{start, end - start, deleted, (offset & kOverflowRow) != 0};
}

}  // namespace calvorin
