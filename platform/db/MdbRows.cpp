// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbRows.h"

#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/db/JetBytes.h"
#include "platform/db/JetPageRows.h"
#include "platform/db/MdbDataPages.h"
#include "platform/db/MdbRowLayout.h"

namespace calvorin {
namespace {

// A row that outgrew its page leaves a pointer behind (a row number, then a 3-byte page number); its
// data, on another page, is flagged there as deleted, so following the pointers and skipping deleted rows
// sees every live row once, in its place.
constexpr std::size_t kOverflowPointer = 4;

class RowWalk {
  public:
    RowWalk(const JetFile& file, const JetTableDef& table)
        : file_(file),
          table_(table),
          layout_(table, file.Version()),
          fields_(table.columns.size()),
          page_(file.PageSize()),
          moved_(file.PageSize()) {}

    std::uint64_t Run(const std::function<void(const JetRow&)>& onRow) {
        std::uint64_t seen = 0;
        MdbDataPages pages(file_, table_);
        while (pages.Next(page_)) {
            const std::optional<std::size_t> rows = RowSlotCount(page_, file_.Version());
            if (!rows) ThrowDamaged();
            for (std::size_t row = 0; row < *rows; ++row) {
                const std::optional<JetRowSlot> slot = FindRowSlot(page_, file_.Version(), row);
                if (!slot) ThrowDamaged();
                if (slot->deleted || slot->size == 0) continue;
                const std::span<const unsigned char> page =
                    slot->overflow ? CrackMoved(*slot) : Crack(page_, *slot);
                onRow(JetRow{page, fields_, pages.Page(), static_cast<std::uint32_t>(row)});
                ++seen;
            }
        }
        return seen;
    }

  private:
    [[noreturn]] void ThrowDamaged() const {
        throw std::runtime_error("riga danneggiata nella tabella \"" + table_.name + "\"");
    }

    std::span<const unsigned char> Crack(std::span<const unsigned char> page, const JetRowSlot& slot) {
        if (!layout_.Crack(page.data(), page.size(), slot.start, slot.size, fields_)) ThrowDamaged();
        return page;
    }

    // Reads the page the pointer names into a buffer of its own, leaving the walk's page in place. Each
    // moved row has one pointer: one that a second pointer names again would be copied twice over.
    std::span<const unsigned char> CrackMoved(const JetRowSlot& pointer) {
        if (pointer.size < kOverflowPointer) ThrowDamaged();
        const unsigned char* p = page_.data() + pointer.start;
        if (!movedRows_.insert(Le32(p)).second) ThrowDamaged();
        if (!file_.ReadPage(Le24(p + 1), moved_) || !HoldsDataPageOf(moved_, table_.page)) ThrowDamaged();
        const std::optional<JetRowSlot> target = FindRowSlot(moved_, file_.Version(), p[0]);
        if (!target || target->size == 0) ThrowDamaged();
        return Crack(moved_, *target);
    }

    const JetFile& file_;
    const JetTableDef& table_;
    const MdbRowLayout layout_;
    std::vector<JetField> fields_;
    std::vector<unsigned char> page_;
    std::vector<unsigned char> moved_;
    std::unordered_set<std::uint32_t> movedRows_;  // the pointers followed so far
};

}  // namespace

std::uint64_t ForEachMdbRow(const JetFile& file, const JetTableDef& table,
                            const std::function<void(const JetRow&)>& onRow) {
    return RowWalk(file, table).Run(onRow);
}

}  // namespace calvorin
