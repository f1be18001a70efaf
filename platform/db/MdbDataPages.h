// SPDX-License-Identifier: GPL-3.0-or-later
// Walks the data pages of an Access table as its usage map lists them, reading each into a page buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/db/JetFile.h"
#include "platform/db/JetTableDef.h"

namespace calvorin {

// Whether `page` is a data page of the table whose definition starts at `tablePage`.
bool HoldsDataPageOf(std::span<const unsigned char> page, std::uint32_t tablePage);

// Pages the map names that belong to another table are passed over; the walk ends at a page past the end
// of the file, so the table comes out short. A map of an unknown kind makes every page of the file a
// candidate.
class MdbDataPages {
  public:
    // `file` and `table` must outlive the walk.
    MdbDataPages(const JetFile& file, const JetTableDef& table);

    // Reads the table's next data page into `into` (a page's size); false when there is none left.
    bool Next(std::span<unsigned char> into);

    // The number of the page last read.
    std::uint32_t Page() const { return page_; }

  private:
    enum class MapKind { Inline, Pages, Unknown };

    bool NextCandidate(std::uint64_t& page);

    const JetFile& file_;
    const JetTableDef& table_;
    std::size_t pageSize_;
    MapKind kind_;
    std::uint64_t next_ = 0;    // Inline, Unknown: the next page to consider; Pages: bit within the map page
    std::size_t mapEntry_ = 0;  // Pages: the map entry being read
    bool mapLoaded_ = false;    // Pages: whether bitmap_ holds that entry's map page
    std::vector<unsigned char> bitmap_;
    std::uint32_t page_ = 0;
};

}  // namespace calvorin
