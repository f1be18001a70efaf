// SPDX-License-Identifier: GPL-3.0-or-later
// Writes user tables into a new Jet 4 (Access 2000) .mdb file, FCM's own league format.
#include "tools/demo/JetWriter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "platform/db/JetFile.h"
#include "platform/db/Rc4.h"
#include "platform/fs/Files.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/Utf8.h"

namespace calvorin::demo::jet {

namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kRowOffsetsAt = 14;     // a data page's row offsets follow its 14-byte header
constexpr std::size_t kMaxRowSize = 4060;     // the largest row Access itself writes
constexpr std::size_t kMaxRowsPerPage = 255;  // a row pointer names its row in one byte
constexpr std::size_t kMaxNameLength = 64;    // Access's limit on table and column names
constexpr std::size_t kMaxColumns = 255;
constexpr std::size_t kInlineMapBytes = 64;  // an inline usage map covers 512 pages from its start
constexpr std::size_t kMapRowSize = 5 + kInlineMapBytes;
constexpr std::size_t kMapPointers = (kMapRowSize - 1) / 4;
constexpr std::size_t kPagesPerBitmapPage = (kPageSize - 4) * 8;
constexpr std::uint32_t kDefinitionStamp = 1625;  // Access writes it in every TDEF and column entry
constexpr std::uint16_t kGeneralSortOrder = 0x0409;
constexpr double kCreationDate = 45658.0;  // 2025-01-01; a fixed date keeps the file reproducible
constexpr std::uint32_t kCatalogPage = 2;  // where every reader looks for MSysObjects
constexpr std::uint32_t kFirstMapPage = 3;
constexpr std::uint32_t kMaxPages = 1U << 24;  // a row pointer keeps the page in 24 bits

// Jet's column type codes; the catalog declares some types that never hold a value here.
enum class Kind : std::uint8_t {
    YesNo = 0x01,
    Integer = 0x03,
    Long = 0x04,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
};

// Column flags: fixed length, may be NULL; catalog columns also carry the replication flag Access sets.
constexpr std::uint8_t kFixedFlag = 0x01;
constexpr std::uint8_t kNullableFlag = 0x02;
constexpr std::uint8_t kReplicationFlag = 0x10;
constexpr std::uint8_t kCompressedUnicode = 0x01;

bool IsFixed(Kind kind) {
    return kind == Kind::YesNo || kind == Kind::Integer || kind == Kind::Long || kind == Kind::Double ||
           kind == Kind::DateTime;
}

// Bytes in the row's fixed area; Yes/No takes none, its value is the null-mask bit.
std::uint16_t FixedSize(Kind kind) {
    switch (kind) {
        case Kind::Integer:
            return 2;
        case Kind::Long:
            return 4;
        case Kind::Double:
        case Kind::DateTime:
            return 8;
        default:
            return 0;
    }
}

// The length the column entry declares: Text in bytes of UCS-2, Memo and OLE 0, Yes/No 1 as Access has it.
std::uint16_t DeclaredLength(Kind kind) {
    switch (kind) {
        case Kind::YesNo:
            return 1;
        case Kind::Text:
            return 2 * kMaxTextLength;
        case Kind::Binary:
            return 255;
        case Kind::Ole:
        case Kind::Memo:
            return 0;
        default:
            return FixedSize(kind);
    }
}

struct ColumnLayout {
    std::string name;
    Kind kind = Kind::Text;
    std::uint8_t flags = 0;
    std::uint16_t number = 0, varIndex = 0, fixedOffset = 0;
};

struct TableLayout {
    std::string name;
    bool system = false;
    std::vector<ColumnLayout> columns;
    std::size_t fixedLength = 0;
    std::uint16_t varCount = 0;
};

// Numbers the columns and places each in the fixed area or in the variable list, in declaration order.
TableLayout Lay(std::string name, bool system, std::vector<ColumnLayout> columns) {
    TableLayout t{std::move(name), system, std::move(columns)};
    std::uint16_t number = 0;
    for (ColumnLayout& c : t.columns) {
        c.number = number++;
        if (IsFixed(c.kind)) {
            c.fixedOffset = static_cast<std::uint16_t>(t.fixedLength);
            t.fixedLength += FixedSize(c.kind);
        } else {
            c.varIndex = t.varCount++;
        }
    }
    return t;
}

// ---------------------------------------------------------------- bytes

template <typename T>
void PutLe(std::string& bytes, std::size_t at, T value) {
    const auto raw = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes[at + i] = static_cast<char>((raw >> (8 * i)) & 0xFF);
}

template <typename T>
void AppendLe(std::string& bytes, T value) {
    bytes.append(sizeof(T), '\0');
    PutLe(bytes, bytes.size() - sizeof(T), value);
}

[[noreturn]] void Fail(std::string_view table, std::size_t row, std::string_view column,
                       std::string_view what) {
    std::string message = "Tabella \"" + std::string(table) + "\"";
    if (row) message += ", riga " + std::to_string(row);
    if (!column.empty()) message += ", colonna \"" + std::string(column) + "\"";
    throw std::runtime_error(message + ": " + std::string(what));
}

// UTF-16 units of a text already checked with IsValidUtf8.
std::u16string Utf16(std::string_view utf8) {
    std::u16string units;
    while (!utf8.empty()) {
        char32_t cp = 0;
        const std::size_t used = DecodeUtf8(utf8, cp);
        if (used == 0) break;
        utf8.remove_prefix(used);
        if (cp < 0x10000) {
            units.push_back(static_cast<char16_t>(cp));
        } else {
            cp -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        }
    }
    return units;
}

std::string Utf16Le(const std::u16string& units) {
    std::string out;
    for (char16_t u : units) AppendLe(out, static_cast<std::uint16_t>(u));
    return out;
}

// Jet 4 text: UCS-2, or "compressed unicode" (FF FE, then one byte per character) when every character
// is Latin-1 and the text is long enough for the two marker bytes to pay off.
std::string EncodeText(std::string_view utf8, const auto& fail) {
    if (!IsValidUtf8(utf8)) fail("testo non in UTF-8");
    const std::u16string units = Utf16(utf8);
    if (units.size() > kMaxTextLength)
        fail("testo di " + std::to_string(units.size()) + " caratteri, oltre i " +
             std::to_string(kMaxTextLength) + " di un campo Testo");
    const bool latin1 =
        std::all_of(units.begin(), units.end(), [](char16_t u) { return u > 0 && u < 0x100; });
    if (!latin1 || units.size() <= 2) return Utf16Le(units);
    std::string out = "\xFF\xFE";
    for (char16_t u : units) out.push_back(static_cast<char>(u));
    return out;
}

// ---------------------------------------------------------------- rows

// A Jet 4 row: column count, fixed area, variable data, its end, the variable offsets last to first,
// their count, then the null mask (a set bit: a value is present; for Yes/No, the value is true).
std::string EncodeRow(const TableLayout& t, const std::vector<Value>& values, std::size_t rowNumber) {
    if (values.size() != t.columns.size())
        Fail(t.name, rowNumber, {},
             std::to_string(values.size()) + " valori per " + std::to_string(t.columns.size()) + " colonne");
    std::string row;
    AppendLe(row, static_cast<std::uint16_t>(t.columns.size()));
    row.append(t.fixedLength, '\0');
    std::vector<bool> present(t.columns.size(), false);
    std::vector<std::uint16_t> varStarts;
    for (const ColumnLayout& c : t.columns) {
        const Value& v = values[c.number];
        const auto fail = [&](const std::string& what) { Fail(t.name, rowNumber, c.name, what); };
        const std::size_t at = 2 + c.fixedOffset;
        if (!IsFixed(c.kind)) varStarts.push_back(static_cast<std::uint16_t>(row.size()));
        if (std::holds_alternative<std::monostate>(v)) continue;
        present[c.number] = true;
        if (c.kind == Kind::YesNo && std::holds_alternative<bool>(v)) {
            present[c.number] = std::get<bool>(v);
        } else if (c.kind == Kind::Integer && std::holds_alternative<std::int32_t>(v)) {
            const std::int32_t n = std::get<std::int32_t>(v);
            if (n < std::numeric_limits<std::int16_t>::min() || n > std::numeric_limits<std::int16_t>::max())
                fail("valore fuori dall'intervallo di un Intero");
            PutLe(row, at, static_cast<std::uint16_t>(n));
        } else if (c.kind == Kind::Long && std::holds_alternative<std::int32_t>(v)) {
            PutLe(row, at, static_cast<std::uint32_t>(std::get<std::int32_t>(v)));
        } else if ((c.kind == Kind::Double || c.kind == Kind::DateTime) &&
                   std::holds_alternative<double>(v)) {
            PutLe(row, at, std::bit_cast<std::uint64_t>(std::get<double>(v)));
        } else if (c.kind == Kind::Text && std::holds_alternative<std::string>(v)) {
            row += EncodeText(std::get<std::string>(v), fail);
        } else {
            fail("valore di un tipo diverso da quello della colonna");
        }
    }
    if (t.varCount > 0) {
        AppendLe(row, static_cast<std::uint16_t>(row.size()));
        std::reverse(varStarts.begin(), varStarts.end());
        for (const std::uint16_t start : varStarts) AppendLe(row, start);
        AppendLe(row, t.varCount);
    }
    std::string mask((t.columns.size() + 7) / 8, '\0');
    for (std::size_t i = 0; i < present.size(); ++i)
        if (present[i]) mask[i / 8] = static_cast<char>(mask[i / 8] | (1 << (i % 8)));
    row += mask;
    if (row.size() > kMaxRowSize)
        Fail(t.name, rowNumber, {},
             "riga di " + std::to_string(row.size()) + " byte, oltre i " + std::to_string(kMaxRowSize) +
                 " che una pagina può tenere");
    return row;
}

using PageRows = std::vector<std::string>;

// Fills data pages in row order, each as full as its space and the row-count limit allow.
std::vector<PageRows> SplitIntoPages(std::vector<std::string> rows) {
    std::vector<PageRows> pages;
    std::size_t used = kPageSize;
    for (std::string& row : rows) {
        const std::size_t need = row.size() + 2;
        if (pages.empty() || used + need > kPageSize || pages.back().size() >= kMaxRowsPerPage) {
            pages.emplace_back();
            used = kRowOffsetsAt;
        }
        pages.back().push_back(std::move(row));
        used += need;
    }
    return pages;
}

std::vector<PageRows> EncodeTable(const TableLayout& t, const std::vector<std::vector<Value>>& rows) {
    std::vector<std::string> encoded;
    encoded.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) encoded.push_back(EncodeRow(t, rows[i], i + 1));
    return SplitIntoPages(std::move(encoded));
}

// ---------------------------------------------------------------- pages

// A data page of `owner`'s table; rows are stored from the end of the page backwards.
std::string DataPage(std::uint32_t owner, const PageRows& rows) {
    std::string page(kPageSize, '\0');
    std::size_t start = kPageSize;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        start -= rows[i].size();
        page.replace(start, rows[i].size(), rows[i]);
        PutLe(page, kRowOffsetsAt + 2 * i, static_cast<std::uint16_t>(start));
    }
    page[0] = 0x01;
    page[1] = 0x01;
    PutLe(page, 2, static_cast<std::uint16_t>(start - (kRowOffsetsAt + 2 * rows.size())));
    PutLe(page, 4, owner);
    PutLe(page, 12, static_cast<std::uint16_t>(rows.size()));
    return page;
}

// Consecutive pages [first, first + count).
struct PageRange {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

void SetBits(std::string& bitmap, std::size_t bitmapAt, std::uint64_t base, std::uint64_t bits,
             PageRange pages) {
    for (std::uint64_t p = pages.first; p < std::uint64_t{pages.first} + pages.count; ++p) {
        if (p < base || p >= base + bits) continue;
        const std::uint64_t bit = p - base;
        bitmap[bitmapAt + bit / 8] = static_cast<char>(bitmap[bitmapAt + bit / 8] | (1 << (bit % 8)));
    }
}

// Usage map type 0: the bitmap of up to 512 pages from a start page, inline in the map row.
std::string InlineMap(PageRange pages) {
    std::string map(kMapRowSize, '\0');
    PutLe(map, 1, pages.first);
    SetBits(map, 5, pages.first, kInlineMapBytes * 8, pages);
    return map;
}

// The usage maps of one table: its pages, and the pages with free space (none: the file is written
// once, complete).
struct TableMaps {
    std::string used, free = InlineMap({});
    std::vector<std::pair<std::uint32_t, std::string>> bitmapPages;  // type-1 maps' own pages
};

// Usage map type 1 for tables past an inline map's reach: pointers to pages (type 0x05) each holding the
// bitmap of 32 736 pages, the n-th one from page n * 32 736.
TableMaps MapsFor(PageRange pages, std::uint32_t& nextFreePage, std::string_view table) {
    TableMaps maps;
    if (pages.count <= kInlineMapBytes * 8) {
        maps.used = InlineMap(pages);
        return maps;
    }
    maps.used.assign(kMapRowSize, '\0');
    maps.used[0] = 0x01;
    const std::uint64_t last = std::uint64_t{pages.first} + pages.count - 1;
    if (last / kPagesPerBitmapPage >= kMapPointers) Fail(table, 0, {}, "troppe pagine per una tabella");
    for (std::uint64_t k = pages.first / kPagesPerBitmapPage; k <= last / kPagesPerBitmapPage; ++k) {
        std::string bitmap(kPageSize, '\0');
        bitmap[0] = 0x05;
        bitmap[1] = 0x01;
        SetBits(bitmap, 4, k * kPagesPerBitmapPage, kPagesPerBitmapPage, pages);
        PutLe(maps.used, 1 + 4 * k, nextFreePage);
        maps.bitmapPages.emplace_back(nextFreePage++, std::move(bitmap));
    }
    return maps;
}

// A TDEF page: the header, one 25-byte entry per column, the column names, and the end of the (empty)
// list of long-value page maps. No indexes.
std::string TdefPage(const TableLayout& t, std::uint32_t rowCount, std::uint32_t usedMap,
                     std::uint32_t freeMap) {
    std::string b;
    b += '\x02';
    b += '\x01';
    AppendLe(b, std::uint16_t{0});  // free space, set below
    AppendLe(b, std::uint32_t{0});  // no continuation page
    AppendLe(b, std::uint32_t{0});  // definition length, set below
    AppendLe(b, kDefinitionStamp);
    AppendLe(b, rowCount);
    AppendLe(b, std::uint32_t{0});  // next autonumber
    b += '\x01';                    // autonumber flag, as Access writes it
    b.append(15, '\0');
    b += t.system ? '\x53' : '\x4E';
    const auto columns = static_cast<std::uint16_t>(t.columns.size());
    AppendLe(b, columns);
    AppendLe(b, t.varCount);
    AppendLe(b, columns);
    AppendLe(b, std::uint32_t{0});  // indexes
    AppendLe(b, std::uint32_t{0});  // real indexes
    AppendLe(b, usedMap);
    AppendLe(b, freeMap);
    for (const ColumnLayout& c : t.columns) {
        b += static_cast<char>(c.kind);
        AppendLe(b, kDefinitionStamp);
        AppendLe(b, c.number);
        AppendLe(b, c.varIndex);
        AppendLe(b, c.number);
        AppendLe(b, c.kind == Kind::Text ? kGeneralSortOrder : std::uint16_t{0});
        AppendLe(b, std::uint16_t{0});
        b += static_cast<char>(c.flags);
        b += static_cast<char>(c.kind == Kind::Text ? kCompressedUnicode : 0);
        AppendLe(b, std::uint32_t{0});
        AppendLe(b, c.fixedOffset);
        AppendLe(b, DeclaredLength(c.kind));
    }
    for (const ColumnLayout& c : t.columns) {
        const std::string name = Utf16Le(Utf16(c.name));
        AppendLe(b, static_cast<std::uint16_t>(name.size()));
        b += name;
    }
    AppendLe(b, std::uint16_t{0xFFFF});
    if (b.size() > kPageSize)
        Fail(t.name, 0, {}, "la definizione della tabella (colonne e nomi) non sta in una pagina");
    PutLe(b, 8, static_cast<std::uint32_t>(b.size()));
    PutLe(b, 2, static_cast<std::uint16_t>(kPageSize - b.size() - 8));
    b.resize(kPageSize, '\0');
    return b;
}

// Page 0: "Standard Jet DB", version 4, code page 1252, no encryption key, an empty password, the
// general sort order and the creation date; bytes 0x18 to 0x97 are RC4-masked as Access masks them.
std::string HeaderPage() {
    constexpr std::size_t kMaskedLength = 128;
    std::string page(kPageSize, '\0');
    page[1] = 0x01;
    const std::string_view magic("Standard Jet DB\0", 16);
    page.replace(4, magic.size(), magic);
    page[0x14] = 0x01;
    PutLe(page, 0x3C, std::uint16_t{1252});
    PutLe(page, jet_header::kKeyAt, std::uint32_t{0});
    // Jet 4 masks the 40-byte password with the creation date's whole days: a password of zeros
    // therefore stores the mask itself.
    const auto days = static_cast<std::uint32_t>(static_cast<std::int32_t>(kCreationDate));
    for (std::size_t i = 0; i < 40; i += 4) PutLe(page, 0x42 + i, days);
    PutLe(page, 0x6E, std::uint32_t{kGeneralSortOrder});
    PutLe(page, 0x72, std::bit_cast<std::uint64_t>(kCreationDate));
    ApplyRc4(jet_header::kMaskKey,
             std::span(reinterpret_cast<unsigned char*>(page.data()) + jet_header::kMaskedAt, kMaskedLength));
    page.replace(0x9C, 4, std::string_view("4.0\0", 4));
    return page;
}

// ---------------------------------------------------------------- catalog

constexpr std::int32_t kTablesContainer = 0x0F000001;
constexpr std::int32_t kRootContainer = 0x0F000000;
constexpr std::int32_t kSystemObject = std::numeric_limits<std::int32_t>::min();  // flag 0x80000000
constexpr std::int32_t kTableObject = 1;
constexpr std::int32_t kContainerObject = 3;

// MSysObjects with the columns Access gives it; the Memo and OLE ones are always NULL here.
TableLayout CatalogLayout() {
    const auto column = [](const char* name, Kind kind) {
        const std::uint8_t flags = std::string_view(name) == "Owner"
                                       ? kReplicationFlag | 0x20 | kNullableFlag
                                       : kReplicationFlag | kNullableFlag | (IsFixed(kind) ? kFixedFlag : 0);
        return ColumnLayout{name, kind, flags};
    };
    return Lay(
        "MSysObjects", true,
        {column("Id", Kind::Long), column("ParentId", Kind::Long), column("Name", Kind::Text),
         column("Type", Kind::Integer), column("DateCreate", Kind::DateTime),
         column("DateUpdate", Kind::DateTime), column("Owner", Kind::Binary), column("Flags", Kind::Long),
         column("Database", Kind::Memo), column("Connect", Kind::Memo), column("ForeignName", Kind::Text),
         column("RmtInfoShort", Kind::Binary), column("RmtInfoLong", Kind::Ole), column("Lv", Kind::Ole),
         column("LvProp", Kind::Ole), column("LvModule", Kind::Ole), column("LvExtra", Kind::Ole)});
}

std::vector<Value> CatalogRow(std::int32_t id, std::int32_t parent, const std::string& name,
                              std::int32_t type, std::int32_t flags) {
    std::vector<Value> row{id, parent, name, type, kCreationDate, kCreationDate, std::monostate{}, flags};
    row.resize(CatalogLayout().columns.size());
    return row;
}

// The containers, MSysObjects itself, and one row per user table whose Id is its TDEF page.
std::vector<std::vector<Value>> CatalogRows(const std::vector<Table>& tables,
                                            const std::vector<std::uint32_t>& tdefPages) {
    std::vector<std::vector<Value>> rows = {
        CatalogRow(kTablesContainer, kRootContainer, "Tables", kContainerObject, kSystemObject),
        CatalogRow(kRootContainer + 2, kRootContainer, "Databases", kContainerObject, kSystemObject),
        CatalogRow(kRootContainer + 3, kRootContainer, "Relationships", kContainerObject, kSystemObject),
        CatalogRow(kCatalogPage, kTablesContainer, "MSysObjects", kTableObject, kSystemObject),
    };
    for (std::size_t i = 0; i < tables.size(); ++i)
        rows.push_back(CatalogRow(static_cast<std::int32_t>(tdefPages[i]), kTablesContainer, tables[i].name,
                                  kTableObject, 0));
    return rows;
}

// ---------------------------------------------------------------- checks

void CheckName(std::string_view table, std::string_view column, const std::string& name) {
    if (name.empty() || !IsValidUtf8(name) || Utf16(name).size() > kMaxNameLength)
        Fail(table, 0, column, "nome vuoto, non UTF-8 o più lungo di " + std::to_string(kMaxNameLength));
}

std::string Folded(std::string_view name) {
    std::string out;
    for (char c : name) out.push_back(static_cast<char>(FoldAscii(c)));
    return out;
}

TableLayout UserLayout(const Table& table) {
    if (table.columns.empty() || table.columns.size() > kMaxColumns)
        Fail(table.name, 0, {}, "da 1 a " + std::to_string(kMaxColumns) + " colonne");
    std::unordered_set<std::string> names;
    std::vector<ColumnLayout> columns;
    for (const Column& c : table.columns) {
        CheckName(table.name, c.name, c.name);
        if (!names.insert(Folded(c.name)).second) Fail(table.name, 0, c.name, "colonna ripetuta");
        Kind kind = Kind::Text;
        switch (c.type) {
            case ColumnType::Long:
                kind = Kind::Long;
                break;
            case ColumnType::Double:
                kind = Kind::Double;
                break;
            case ColumnType::YesNo:
                kind = Kind::YesNo;
                break;
            case ColumnType::Text:
                kind = Kind::Text;
                break;
        }
        columns.push_back(
            {c.name, kind, static_cast<std::uint8_t>(kNullableFlag | (IsFixed(kind) ? kFixedFlag : 0))});
    }
    return Lay(table.name, false, std::move(columns));
}

void CheckTableNames(const std::vector<Table>& tables) {
    std::unordered_set<std::string> names;
    for (const Table& t : tables) {
        CheckName(t.name, {}, t.name);
        const std::string folded = Folded(t.name);
        if (folded.starts_with("MSYS")) Fail(t.name, 0, {}, "i nomi che iniziano con MSys sono di sistema");
        if (!names.insert(folded).second) Fail(t.name, 0, {}, "tabella ripetuta");
    }
}

}  // namespace

std::string JetDatabaseImage(const std::vector<Table>& tables) {
    CheckTableNames(tables);
    std::vector<TableLayout> layouts;
    std::vector<std::vector<PageRows>> data;
    for (const Table& t : tables) {
        layouts.push_back(UserLayout(t));
        data.push_back(EncodeTable(layouts.back(), t.rows));
    }
    const TableLayout catalog = CatalogLayout();
    // A catalog row's size does not depend on the page numbers it holds, so a first encoding with
    // placeholders tells how many pages the catalog takes.
    const auto catalogPages = static_cast<std::uint32_t>(
        EncodeTable(catalog, CatalogRows(tables, std::vector<std::uint32_t>(tables.size()))).size());

    // Usage-map rows, two per table (used pages, pages with free space), on as many pages as they need.
    const std::size_t mapRows = 2 * (tables.size() + 1);
    const std::size_t mapRowsPerPage =
        std::min(kMaxRowsPerPage, (kPageSize - kRowOffsetsAt) / (kMapRowSize + 2));
    const auto mapPages = static_cast<std::uint32_t>((mapRows + mapRowsPerPage - 1) / mapRowsPerPage);
    const auto mapPointer = [&](std::size_t n) {
        return ((kFirstMapPage + static_cast<std::uint32_t>(n / mapRowsPerPage)) << 8) |
               static_cast<std::uint32_t>(n % mapRowsPerPage);
    };

    // Page order: header, global map, catalog TDEF, usage maps, catalog data, then each table's TDEF and
    // data pages, then the bitmap pages of type-1 usage maps.
    std::uint32_t next = kFirstMapPage + mapPages;
    const PageRange catalogData{next, catalogPages};
    next += catalogPages;
    std::vector<std::uint32_t> tdefPages;
    std::vector<PageRange> tableData;
    for (const auto& pages : data) {
        tdefPages.push_back(next);
        tableData.push_back({next + 1, static_cast<std::uint32_t>(pages.size())});
        next += 1 + static_cast<std::uint32_t>(pages.size());
    }
    std::vector<TableMaps> maps;
    maps.push_back(MapsFor(catalogData, next, catalog.name));
    for (std::size_t i = 0; i < tables.size(); ++i)
        maps.push_back(MapsFor(tableData[i], next, tables[i].name));

    if (next >= kMaxPages) throw std::runtime_error("Database troppo grande per un file Jet 4");
    std::vector<std::string> pages(next);
    pages[0] = HeaderPage();
    pages[1] = DataPage(1, {InlineMap({}), InlineMap({})});  // the global map: no free pages
    const auto catalogValues = CatalogRows(tables, tdefPages);
    const std::vector<PageRows> catalogRows = EncodeTable(catalog, catalogValues);
    pages[kCatalogPage] =
        TdefPage(catalog, static_cast<std::uint32_t>(catalogValues.size()), mapPointer(0), mapPointer(1));
    for (std::uint32_t i = 0; i < catalogPages; ++i)
        pages[catalogData.first + i] = DataPage(kCatalogPage, catalogRows[i]);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        pages[tdefPages[i]] = TdefPage(layouts[i], static_cast<std::uint32_t>(tables[i].rows.size()),
                                       mapPointer(2 * (i + 1)), mapPointer(2 * (i + 1) + 1));
        for (std::uint32_t p = 0; p < tableData[i].count; ++p)
            pages[tableData[i].first + p] = DataPage(tdefPages[i], data[i][p]);
    }
    std::vector<PageRows> mapRowPages(mapPages);
    std::size_t mapRow = 0;
    for (TableMaps& m : maps) {
        for (auto& [page, bitmap] : m.bitmapPages) pages[page] = std::move(bitmap);
        for (std::string* row : {&m.used, &m.free})
            mapRowPages[mapRow++ / mapRowsPerPage].push_back(std::move(*row));
    }
    // Access leaves the owner of the usage-map pages at 0.
    for (std::uint32_t i = 0; i < mapPages; ++i) pages[kFirstMapPage + i] = DataPage(0, mapRowPages[i]);
    std::string image;
    image.reserve(pages.size() * kPageSize);
    for (const std::string& page : pages) image += page;
    return image;
}

void WriteJetDatabase(const std::vector<Table>& tables, const std::filesystem::path& file) {
    WriteFileAtomic(file, JetDatabaseImage(tables));
}

}  // namespace calvorin::demo::jet
