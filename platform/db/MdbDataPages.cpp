// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbDataPages.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace calvorin {
namespace {

constexpr unsigned char kDataPage = 0x01;
constexpr std::size_t kInlineMapHeader = 5;  // kind byte, then the number of the map's first page
constexpr std::size_t kMapPageHeader = 4;    // a map page's bitmap follows its 4-byte header

bool BitSet(const unsigned char* bitmap, std::uint64_t bit) {
    return (bitmap[bit / 8] >> (bit % 8)) & 1;
}

// A usage map's 32-bit page number at `offset`.
std::uint32_t PageNumberAt(const unsigned char* map, std::size_t offset) {
    return static_cast<std::uint32_t>(
        mdb_get_int32(const_cast<unsigned char*>(map), static_cast<int>(offset)));
}

}  // namespace

bool HoldsDataPageOf(MdbTableDef* table) {
    MdbHandle* mdb = table->entry->mdb;
    return mdb->pg_buf[0] == kDataPage &&
           static_cast<unsigned long>(mdb_get_int32(mdb->pg_buf, 4)) == table->entry->table_pg;
}

MdbDataPages::MdbDataPages(MdbTableDef* table)
    : table_(table),
      mdb_(table->entry->mdb),
      pageSize_(static_cast<std::size_t>(mdb_->fmt->pg_size)),
      kind_(table->usage_map[0] == 0   ? MapKind::Inline
            : table->usage_map[0] == 1 ? MapKind::Pages
                                       : MapKind::Unknown),
      bitmap_(pageSize_) {
    struct stat status {};
    if (::fstat(fileno(mdb_->f->stream), &status) == 0 && status.st_size > 0)
        filePages_ = static_cast<std::uint64_t>(status.st_size) / pageSize_;
    if (kind_ == MapKind::Unknown) next_ = 1;  // every page after the header
}

bool MdbDataPages::Load(std::uint64_t page, unsigned char* into) const {
    // An encrypted file's pages go through libmdb, which deciphers them.
    if (mdb_->f->db_key != 0) {
        if (mdb_read_alt_pg(mdb_, page) != static_cast<ssize_t>(pageSize_)) return false;
        std::memcpy(into, mdb_->alt_pg_buf, pageSize_);
        return true;
    }
    const int fd = fileno(mdb_->f->stream);
    std::size_t done = 0;
    while (done < pageSize_) {
        const ssize_t got =
            ::pread(fd, into + done, pageSize_ - done, static_cast<off_t>(page * pageSize_ + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool MdbDataPages::NextCandidate(std::uint64_t& page) {
    const unsigned char* map = table_->usage_map;
    const std::size_t mapSize = table_->map_sz;
    switch (kind_) {
        case MapKind::Inline: {
            // One bitmap in the map itself, bit i standing for page first + i.
            const std::uint64_t bits = mapSize > kInlineMapHeader ? (mapSize - kInlineMapHeader) * 8 : 0;
            const std::uint32_t first = mapSize >= kInlineMapHeader ? PageNumberAt(map, 1) : 0;
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
                    const std::uint32_t mapPage = PageNumberAt(map, 1 + 4 * mapEntry_);
                    if (mapPage == 0) {
                        ++mapEntry_;
                        continue;
                    }
                    if (!Load(mapPage, bitmap_.data())) return false;
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
            if (next_ >= filePages_) return false;
            page = next_++;
            return true;
    }
    return false;
}

bool MdbDataPages::Next() {
    std::uint64_t page = 0;
    while (NextCandidate(page)) {
        if (page >= filePages_ || !Load(page, mdb_->pg_buf)) return false;
        if (HoldsDataPageOf(table_)) {
            page_ = static_cast<std::uint32_t>(page);
            mdb_->cur_pg = page_;
            return true;
        }
    }
    return false;
}

}  // namespace calvorin
