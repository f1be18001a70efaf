// SPDX-License-Identifier: GPL-3.0-or-later
// Walks the data pages of an Access table as its usage map lists them, loading each into libmdb's page.
#pragma once

#include <glib.h>
#include <mdbtools.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace calvorin {

// Whether the handle's page buffer holds a data page of `table`.
bool HoldsDataPageOf(MdbTableDef* table);

// Takes the place of libmdb's mdb_read_next_dpg: one positioned read per page instead of two seeks and a
// buffered read, and a usage map read only within its bounds. Pages the map names that belong to
// another table are passed over, as libmdb does; a page that cannot be read ends the walk, as in
// libmdb, so the table comes out short. A map of an unknown kind makes every page of the file a
// candidate, as libmdb's fallback does.
class MdbDataPages {
  public:
    // `table` must have been read by mdb_read_table (with a non-empty usage map) and outlive the walk.
    explicit MdbDataPages(MdbTableDef* table);

    // Loads the table's next data page into the handle's page buffer; false when there is none left.
    bool Next();

    // The number of the page last loaded.
    std::uint32_t Page() const { return page_; }

  private:
    enum class MapKind { Inline, Pages, Unknown };

    bool NextCandidate(std::uint64_t& page);
    bool Load(std::uint64_t page, unsigned char* into) const;

    MdbTableDef* table_;
    MdbHandle* mdb_;
    std::size_t pageSize_;
    std::uint64_t filePages_ = 0;
    MapKind kind_;
    std::uint64_t next_ = 0;    // Inline, Unknown: the next page to consider; Pages: bit within the map page
    std::size_t mapEntry_ = 0;  // Pages: the map entry being read
    bool mapLoaded_ = false;    // Pages: whether bitmap_ holds that entry's map page
    std::vector<unsigned char> bitmap_;
    std::uint32_t page_ = 0;
};

}  // namespace calvorin
