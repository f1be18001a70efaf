// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/JetTableDef.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

#include "platform/db/JetBytes.h"
#include "platform/db/JetPageRows.h"
#include "platform/db/JetText.h"

namespace calvorin {
namespace {

constexpr unsigned char kDefinitionPage = 0x02;
constexpr std::size_t kNextPageAt = 4;
constexpr std::size_t kPageHeader = 8;  // skipped on the chain's further pages
constexpr std::uint8_t kFixedColumn = 0x01;

// Where the fields of a definition lie in each version.
struct Layout {
    std::size_t rowCount, variableColumns, columnCount, indexCount, realIndexCount, usageMap, end;
    std::size_t realIndexEntry;  // the per-index block between the header and the columns
    std::size_t columnEntry;
    // Within a column entry.
    std::size_t type, number, variableIndex, precision, scale, flags, fixedOffset, size;
    std::size_t nameLength;  // bytes of a column name's length
};
constexpr Layout kJet3{12, 23, 25, 27, 31, 35, 43, 8, 18, 0, 1, 3, 9, 10, 13, 14, 16, 1};
constexpr Layout kJet4{16, 43, 45, 47, 51, 55, 63, 12, 25, 0, 5, 7, 11, 12, 15, 21, 23, 2};

class Definition {
  public:
    Definition(const JetFile& file, const std::string& name) : file_(file), name_(name) {}

    [[noreturn]] void Fail() const {
        throw std::runtime_error("definizione della tabella \"" + name_ + "\" illeggibile");
    }

    // Joins the pages of the chain. Each page is read once: a chain that comes round again is damaged.
    std::vector<unsigned char> Read(std::uint32_t first) const {
        std::vector<unsigned char> bytes, page(file_.PageSize());
        std::unordered_set<std::uint32_t> seen;
        for (std::uint32_t at = first; at != 0 || bytes.empty();) {
            if (!seen.insert(at).second || !file_.ReadPage(at, page) || page[0] != kDefinitionPage) Fail();
            const std::span<const unsigned char> content =
                std::span(page).subspan(bytes.empty() ? 0 : kPageHeader);
            bytes.insert(bytes.end(), content.begin(), content.end());
            at = Le32(page.data() + kNextPageAt);
        }
        return bytes;
    }

    // The usage map: the row the 32-bit pointer (page, then row in the low byte) names.
    std::vector<unsigned char> UsageMap(std::uint32_t pointer) const {
        std::vector<unsigned char> page(file_.PageSize());
        if (!file_.ReadPage(pointer >> 8, page)) Fail();
        const std::optional<JetRowSlot> row = FindRowSlot(page, file_.Version(), pointer & 0xFF);
        if (!row || row->size == 0) Fail();
        const auto start = page.begin() + static_cast<std::ptrdiff_t>(row->start);
        return {start, start + static_cast<std::ptrdiff_t>(row->size)};
    }

  private:
    const JetFile& file_;
    const std::string& name_;
};

}  // namespace

JetTableDef ReadTableDef(const JetFile& file, std::uint32_t page, const std::string& name) {
    const Definition definition(file, name);
    const Layout& l = file.IsJet3() ? kJet3 : kJet4;
    JetTableDef table;
    table.name = name;
    table.page = page;
    table.bytes = definition.Read(page);
    const std::vector<unsigned char>& b = table.bytes;
    // Every count is checked against the bytes it would take before anything is sized by it.
    const auto need = [&](std::uint64_t end) {
        if (end > b.size()) definition.Fail();
    };
    need(l.end);
    table.rowCount = Le32(&b[l.rowCount]);
    table.variableColumnCount = Le16(&b[l.variableColumns]);
    const std::size_t columnCount = Le16(&b[l.columnCount]);
    table.indexCount = Le32(&b[l.indexCount]);
    table.realIndexCount = Le32(&b[l.realIndexCount]);
    if (columnCount == 0 || columnCount > kMaxJetColumns) definition.Fail();

    std::uint64_t at = l.end + std::uint64_t{table.realIndexCount} * l.realIndexEntry;
    need(at + columnCount * l.columnEntry);
    table.columns.resize(columnCount);
    for (JetColumn& column : table.columns) {
        const unsigned char* e = &b[at];
        column.type = static_cast<JetType>(e[l.type]);
        column.number = Le16(e + l.number);
        column.variableIndex = Le16(e + l.variableIndex);
        column.precision = e[l.precision];
        column.scale = e[l.scale];
        column.fixed = (e[l.flags] & kFixedColumn) != 0;
        column.fixedOffset = Le16(e + l.fixedOffset);
        column.size = Le16(e + l.size);
        at += l.columnEntry;
    }
    // The names follow in the same order: a length (Jet 3 one byte, Jet 4 two), then Windows-1252 or
    // UTF-16 bytes.
    for (JetColumn& column : table.columns) {
        need(at + l.nameLength);
        const std::size_t length = l.nameLength == 1 ? b[at] : Le16(&b[at]);
        at += l.nameLength;
        need(at + length);
        const std::string_view bytes(reinterpret_cast<const char*>(&b[at]), length);
        column.name = file.IsJet3() ? DecodeJet3Text(bytes) : DecodeJet4Text(bytes);
        at += length;
    }
    table.indexesAt = at;
    // Rows lay out their null mask by column number, whatever order the definition lists columns in.
    std::stable_sort(table.columns.begin(), table.columns.end(),
                     [](const JetColumn& a, const JetColumn& c) { return a.number < c.number; });
    table.usageMap = definition.UsageMap(Le32(&b[l.usageMap]));
    return table;
}

}  // namespace calvorin
