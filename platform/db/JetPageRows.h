// SPDX-License-Identifier: GPL-3.0-or-later
// The row slots of a data page (table rows, or long values on an LVAL page): where each row lies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/db/JetFile.h"

namespace calvorin {

inline constexpr unsigned char kJetDataPage = 0x01;

// A data page starts with its type, a byte, free space (16 bits), the page of its table's definition
// (32 bits; "LVAL" on a long-value page), in Jet 4 four more bytes, then the number of rows and their
// offsets, 16 bits each.
inline std::size_t RowCountOffset(JetVersion version) {
    return version == JetVersion::Jet3 ? 8 : 12;
}
inline constexpr std::size_t kOwnerPageAt = 4;

struct JetRowSlot {
    std::size_t start = 0;
    std::size_t size = 0;
    bool deleted = false;
    // The row holds only a pointer to where its data went: a row number, then a 3-byte page number.
    bool overflow = false;
};

// How many rows the page lists; std::nullopt when their offsets would run past the page.
std::optional<std::size_t> RowSlotCount(std::span<const unsigned char> page, JetVersion version);

// Row `row` of the page: from its offset up to the previous row's offset (the end of the page for row
// 0), as Jet stores rows from the end of the page backwards. std::nullopt when the page lists fewer rows,
// or a live row would not lie within the page; a deleted one that would not comes out empty.
std::optional<JetRowSlot> FindRowSlot(std::span<const unsigned char> page, JetVersion version,
                                      std::size_t row);

}  // namespace calvorin
