// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbDataPages.h"

#include "platform/db/JetBytes.h"
#include "platform/db/JetPageRows.h"

namespace calvorin {
namespace {

constexpr std::size_t kInlineMapHeader = 5;  // kind byte, then the number of the map's first page
constexpr std::size_t kMapPageHeader = 4;    // a map page's bitmap follows its 4-byte header

bool BitSet(const unsigned char* bitmap, std::uint64_t bit) {
    return (bitmap[bit / 8] >> (bit % 8)) & 1;
}

}  // namespace

bool HoldsDataPageOf(std::span<const unsigned char> page, std::uint32_t tablePage) {
    return page[0] == kJetDataPage && Le32(page.data() + kOwnerPageAt) == tablePage;
}

MdbDataPages::MdbDataPages(const JetFile& file, const JetTableDef& table)
    : file_(file),
      table_(table),
      pageSize_(file.PageSize()),
      kind_(table.usageMap.at(0) == 0   ? MapKind::Inline
            : table.usageMap.at(0) == 1 ? MapKind::Pages
                                        : MapKind::Unknown),
      bitmap_(pageSize_) {
    if (kind_ == MapKind::Unknown) next_ = 1;  // every page after the header
}

bool MdbDataPages::NextCandidate(std::uint64_t& page) {
    const unsigned char* map = table_.usageMap.data();
    const std::size_t mapSize = table_.usageMap.size();
    switch (kind_) {
        case MapKind::Inline: {
            // One bitmap in the map itself, bit i standing for page first + i.
            const std::uint64_t bits = mapSize > kInlineMapHeader ? (mapSize - kInlineMapHeader) * 8 : 0;
            const std::uint32_t first = mapSize >= kInlineMapHeader ? Le32(map + 1) : 0;
            while (next_ < bits) {
                const std::uint64_t bit = next_++;
                if (BitSet(map + kInlineMapHeader, bit) && first + bit != 0) {
                    page = first + bit;
                    return true;
                }
            }
            return false;
        }
        case MapKind::Pages: {
            // The map lists map pages; the bitmap of entry e covers the e-th run of pages it can cover.
            const std::size_t entries = (mapSize - 1) / 4;
            const std::uint64_t bitsPerMapPage = (pageSize_ - kMapPageHeader) * 8;
            while (mapEntry_ < entries) {
                if (!mapLoaded_) {
                    const std::uint32_t mapPage = Le32(map + 1 + 4 * mapEntry_);
                    if (mapPage == 0) {
                        ++mapEntry_;
                        continue;
                    }
                    if (!file_.ReadPage(mapPage, bitmap_)) return false;
                    mapLoaded_ = true;
                    next_ = 0;
                }
                while (next_ < bitsPerMapPage) {
                    const std::uint64_t bit = next_++;
                    const std::uint64_t candidate = mapEntry_ * bitsPerMapPage + bit;
                    if (BitSet(bitmap_.data() + kMapPageHeader, bit) && candidate != 0) {
                        page = candidate;
                        return true;
                    }
                }
                ++mapEntry_;
                mapLoaded_ = false;
            }
            return false;
        }
        case MapKind::Unknown:
            if (next_ >= file_.PageCount()) return false;
            page = next_++;
            return true;
    }
    return false;
}

bool MdbDataPages::Next(std::span<unsigned char> into) {
    std::uint64_t page = 0;
    while (NextCandidate(page)) {
        if (!file_.ReadPage(page, into)) return false;
        if (HoldsDataPageOf(into, table_.page)) {
            page_ = static_cast<std::uint32_t>(page);
            return true;
        }
    }
    return false;
}

}  // namespace calvorin
