// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/AccessCollation.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/text/Utf8.h"

namespace calvorin {
namespace {

// The weights of one character: its primary weight, a second one for the letters Access spells as two
// (Æ as "ae", ß as "ss"), and its accent weight. A primary weight of 0 leaves the character out of the
// first two levels (Jet 4's hyphen, apostrophe and control characters).
struct CharWeights {
    std::uint32_t primary;
    std::uint32_t second;
    std::uint8_t accent;
};

// The weights below are those of Access's own index keys: Jet 3's from an Access 97 file whose indexes
// hold every Windows-1252 character between two letters, Jet 4's from an Access 2003 index over a
// text of every character up to U+00FF. Each primary byte of a key is shifted up 16 bits (a two-byte
// Jet 4 code takes 16 of them) so that characters we place between two of Access's fit in the gaps.

// Jet 3, by Windows-1252 byte. The bytes its code page left undefined (and €, Ž, ž, which came
// later) sort with the control characters, as in Access 97.
constexpr std::array<CharWeights, 256> kJet3 = {{
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 00
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 04
    {0x100000, 0x000000, 2},  {0x110000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 08
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 0C
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 10
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 14
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 18
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 1C
    {0x110000, 0x000000, 2},  {0x120000, 0x000000, 2},
    {0x130000, 0x000000, 2},  {0x140000, 0x000000, 2},  // 20
    {0x150000, 0x000000, 2},  {0x160000, 0x000000, 2},
    {0x170000, 0x000000, 2},  {0x180000, 0x000000, 2},  // 24
    {0x190000, 0x000000, 2},  {0x1a0000, 0x000000, 2},
    {0x1b0000, 0x000000, 2},  {0x1c0000, 0x000000, 2},  // 28
    {0x1d0000, 0x000000, 2},  {0x1e0000, 0x000000, 2},
    {0x1f0000, 0x000000, 2},  {0x200000, 0x000000, 2},  // 2C
    {0x560000, 0x000000, 2},  {0x570000, 0x000000, 2},
    {0x580000, 0x000000, 2},  {0x590000, 0x000000, 2},  // 30
    {0x5a0000, 0x000000, 2},  {0x5b0000, 0x000000, 2},
    {0x5c0000, 0x000000, 2},  {0x5d0000, 0x000000, 2},  // 34
    {0x5e0000, 0x000000, 2},  {0x5f0000, 0x000000, 2},
    {0x210000, 0x000000, 2},  {0x220000, 0x000000, 2},  // 38
    {0x230000, 0x000000, 2},  {0x240000, 0x000000, 2},
    {0x250000, 0x000000, 2},  {0x260000, 0x000000, 2},  // 3C
    {0x270000, 0x000000, 2},  {0x600000, 0x000000, 2},
    {0x610000, 0x000000, 2},  {0x620000, 0x000000, 2},  // 40
    {0x640000, 0x000000, 2},  {0x660000, 0x000000, 2},
    {0x670000, 0x000000, 2},  {0x680000, 0x000000, 2},  // 44
    {0x690000, 0x000000, 2},  {0x6a0000, 0x000000, 2},
    {0x6b0000, 0x000000, 2},  {0x6c0000, 0x000000, 2},  // 48
    {0x6d0000, 0x000000, 2},  {0x6f0000, 0x000000, 2},
    {0x700000, 0x000000, 2},  {0x720000, 0x000000, 2},  // 4C
    {0x730000, 0x000000, 2},  {0x740000, 0x000000, 2},
    {0x750000, 0x000000, 2},  {0x760000, 0x000000, 2},  // 50
    {0x770000, 0x000000, 2},  {0x780000, 0x000000, 2},
    {0x7a0000, 0x000000, 2},  {0x7b0000, 0x000000, 2},  // 54
    {0x7c0000, 0x000000, 2},  {0x7d0000, 0x000000, 2},
    {0x7e0000, 0x000000, 2},  {0x280000, 0x000000, 2},  // 58
    {0x290000, 0x000000, 2},  {0x2a0000, 0x000000, 2},
    {0x2b0000, 0x000000, 2},  {0x2c0000, 0x000000, 2},  // 5C
    {0x2d0000, 0x000000, 2},  {0x600000, 0x000000, 2},
    {0x610000, 0x000000, 2},  {0x620000, 0x000000, 2},  // 60
    {0x640000, 0x000000, 2},  {0x660000, 0x000000, 2},
    {0x670000, 0x000000, 2},  {0x680000, 0x000000, 2},  // 64
    {0x690000, 0x000000, 2},  {0x6a0000, 0x000000, 2},
    {0x6b0000, 0x000000, 2},  {0x6c0000, 0x000000, 2},  // 68
    {0x6d0000, 0x000000, 2},  {0x6f0000, 0x000000, 2},
    {0x700000, 0x000000, 2},  {0x720000, 0x000000, 2},  // 6C
    {0x730000, 0x000000, 2},  {0x740000, 0x000000, 2},
    {0x750000, 0x000000, 2},  {0x760000, 0x000000, 2},  // 70
    {0x770000, 0x000000, 2},  {0x780000, 0x000000, 2},
    {0x7a0000, 0x000000, 2},  {0x7b0000, 0x000000, 2},  // 74
    {0x7c0000, 0x000000, 2},  {0x7d0000, 0x000000, 2},
    {0x7e0000, 0x000000, 2},  {0x2e0000, 0x000000, 2},  // 78
    {0x2f0000, 0x000000, 2},  {0x300000, 0x000000, 2},
    {0x310000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 7C
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},
    {0x180000, 0x000000, 2},  {0x320000, 0x000000, 2},  // 80
    {0x130000, 0x000000, 2},  {0x330000, 0x000000, 2},
    {0x340000, 0x000000, 2},  {0x350000, 0x000000, 2},  // 84
    {0x360000, 0x000000, 2},  {0x370000, 0x000000, 2},
    {0x760000, 0x000000, 10}, {0x180000, 0x000000, 2},  // 88
    {0x720000, 0x660000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x100000, 0x000000, 2},  // 8C
    {0x100000, 0x000000, 2},  {0x180000, 0x000000, 2},
    {0x180000, 0x000000, 2},  {0x130000, 0x000000, 2},  // 90
    {0x130000, 0x000000, 2},  {0x380000, 0x000000, 2},
    {0x1e0000, 0x000000, 2},  {0x1e0000, 0x000000, 2},  // 94
    {0x390000, 0x000000, 2},  {0x3a0000, 0x000000, 2},
    {0x760000, 0x000000, 10}, {0x180000, 0x000000, 2},  // 98
    {0x720000, 0x660000, 2},  {0x100000, 0x000000, 2},
    {0x100000, 0x000000, 2},  {0x7d0000, 0x000000, 6},  // 9C
    {0x110000, 0x000000, 2},  {0x3b0000, 0x000000, 2},
    {0x3c0000, 0x000000, 2},  {0x3d0000, 0x000000, 2},  // A0
    {0x3e0000, 0x000000, 2},  {0x3f0000, 0x000000, 2},
    {0x400000, 0x000000, 2},  {0x410000, 0x000000, 2},  // A4
    {0x420000, 0x000000, 2},  {0x430000, 0x000000, 2},
    {0x440000, 0x000000, 2},  {0x130000, 0x000000, 2},  // A8
    {0x450000, 0x000000, 2},  {0x1e0000, 0x000000, 2},
    {0x460000, 0x000000, 2},  {0x470000, 0x000000, 2},  // AC
    {0x480000, 0x000000, 2},  {0x490000, 0x000000, 2},
    {0x580000, 0x000000, 2},  {0x590000, 0x000000, 2},  // B0
    {0x4a0000, 0x000000, 2},  {0x4b0000, 0x000000, 2},
    {0x4c0000, 0x000000, 2},  {0x4d0000, 0x000000, 2},  // B4
    {0x4e0000, 0x000000, 2},  {0x570000, 0x000000, 2},
    {0x4f0000, 0x000000, 2},  {0x130000, 0x000000, 2},  // B8
    {0x500000, 0x000000, 2},  {0x510000, 0x000000, 2},
    {0x520000, 0x000000, 2},  {0x530000, 0x000000, 2},  // BC
    {0x600000, 0x000000, 3},  {0x600000, 0x000000, 4},
    {0x600000, 0x000000, 5},  {0x600000, 0x000000, 7},  // C0
    {0x600000, 0x000000, 6},  {0x600000, 0x000000, 8},
    {0x600000, 0x660000, 2},  {0x620000, 0x000000, 9},  // C4
    {0x660000, 0x000000, 3},  {0x660000, 0x000000, 4},
    {0x660000, 0x000000, 5},  {0x660000, 0x000000, 6},  // C8
    {0x6a0000, 0x000000, 3},  {0x6a0000, 0x000000, 4},
    {0x6a0000, 0x000000, 5},  {0x6a0000, 0x000000, 6},  // CC
    {0x650000, 0x000000, 2},  {0x700000, 0x000000, 7},
    {0x720000, 0x000000, 3},  {0x720000, 0x000000, 4},  // D0
    {0x720000, 0x000000, 5},  {0x720000, 0x000000, 7},
    {0x720000, 0x000000, 6},  {0x540000, 0x000000, 2},  // D4
    {0x810000, 0x000000, 2},  {0x780000, 0x000000, 3},
    {0x780000, 0x000000, 4},  {0x780000, 0x000000, 5},  // D8
    {0x780000, 0x000000, 6},  {0x7d0000, 0x000000, 4},
    {0x7f0000, 0x000000, 2},  {0x760000, 0x760000, 2},  // DC
    {0x600000, 0x000000, 3},  {0x600000, 0x000000, 4},
    {0x600000, 0x000000, 5},  {0x600000, 0x000000, 7},  // E0
    {0x600000, 0x000000, 6},  {0x600000, 0x000000, 8},
    {0x600000, 0x660000, 2},  {0x620000, 0x000000, 9},  // E4
    {0x660000, 0x000000, 3},  {0x660000, 0x000000, 4},
    {0x660000, 0x000000, 5},  {0x660000, 0x000000, 6},  // E8
    {0x6a0000, 0x000000, 3},  {0x6a0000, 0x000000, 4},
    {0x6a0000, 0x000000, 5},  {0x6a0000, 0x000000, 6},  // EC
    {0x650000, 0x000000, 2},  {0x700000, 0x000000, 7},
    {0x720000, 0x000000, 3},  {0x720000, 0x000000, 4},  // F0
    {0x720000, 0x000000, 5},  {0x720000, 0x000000, 7},
    {0x720000, 0x000000, 6},  {0x550000, 0x000000, 2},  // F4
    {0x810000, 0x000000, 2},  {0x780000, 0x000000, 3},
    {0x780000, 0x000000, 4},  {0x780000, 0x000000, 5},  // F8
    {0x780000, 0x000000, 6},  {0x7d0000, 0x000000, 4},
    {0x7f0000, 0x000000, 2},  {0x7d0000, 0x000000, 6},  // FC
}};

// Jet 4, by code point.
constexpr std::array<CharWeights, 256> kJet4 = {{
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 00
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 04
    {0x000000, 0x000000, 0x00}, {0x080300, 0x000000, 0x02},
    {0x080400, 0x000000, 0x02}, {0x080500, 0x000000, 0x02},  // 08
    {0x080600, 0x000000, 0x02}, {0x080700, 0x000000, 0x02},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 0C
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 10
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 14
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 18
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 1C
    {0x070000, 0x000000, 0x02}, {0x090000, 0x000000, 0x02},
    {0x0a0000, 0x000000, 0x02}, {0x0c0000, 0x000000, 0x02},  // 20
    {0x0e0000, 0x000000, 0x02}, {0x100000, 0x000000, 0x02},
    {0x120000, 0x000000, 0x02}, {0x000000, 0x000000, 0x00},  // 24
    {0x140000, 0x000000, 0x02}, {0x160000, 0x000000, 0x02},
    {0x180000, 0x000000, 0x02}, {0x2c0000, 0x000000, 0x02},  // 28
    {0x1a0000, 0x000000, 0x02}, {0x000000, 0x000000, 0x00},
    {0x1c0000, 0x000000, 0x02}, {0x1e0000, 0x000000, 0x02},  // 2C
    {0x360000, 0x000000, 0x02}, {0x380000, 0x000000, 0x02},
    {0x3a0000, 0x000000, 0x02}, {0x3c0000, 0x000000, 0x02},  // 30
    {0x3e0000, 0x000000, 0x02}, {0x400000, 0x000000, 0x02},
    {0x420000, 0x000000, 0x02}, {0x440000, 0x000000, 0x02},  // 34
    {0x460000, 0x000000, 0x02}, {0x480000, 0x000000, 0x02},
    {0x200000, 0x000000, 0x02}, {0x220000, 0x000000, 0x02},  // 38
    {0x2e0000, 0x000000, 0x02}, {0x300000, 0x000000, 0x02},
    {0x320000, 0x000000, 0x02}, {0x240000, 0x000000, 0x02},  // 3C
    {0x260000, 0x000000, 0x02}, {0x4a0000, 0x000000, 0x02},
    {0x4c0000, 0x000000, 0x02}, {0x4d0000, 0x000000, 0x02},  // 40
    {0x4f0000, 0x000000, 0x02}, {0x510000, 0x000000, 0x02},
    {0x530000, 0x000000, 0x02}, {0x550000, 0x000000, 0x02},  // 44
    {0x570000, 0x000000, 0x02}, {0x590000, 0x000000, 0x02},
    {0x5b0000, 0x000000, 0x02}, {0x5c0000, 0x000000, 0x02},  // 48
    {0x5e0000, 0x000000, 0x02}, {0x600000, 0x000000, 0x02},
    {0x620000, 0x000000, 0x02}, {0x640000, 0x000000, 0x02},  // 4C
    {0x660000, 0x000000, 0x02}, {0x680000, 0x000000, 0x02},
    {0x690000, 0x000000, 0x02}, {0x6b0000, 0x000000, 0x02},  // 50
    {0x6d0000, 0x000000, 0x02}, {0x6f0000, 0x000000, 0x02},
    {0x710000, 0x000000, 0x02}, {0x730000, 0x000000, 0x02},  // 54
    {0x750000, 0x000000, 0x02}, {0x760000, 0x000000, 0x02},
    {0x780000, 0x000000, 0x02}, {0x270000, 0x000000, 0x02},  // 58
    {0x290000, 0x000000, 0x02}, {0x2a0000, 0x000000, 0x02},
    {0x2b0200, 0x000000, 0x02}, {0x2b0300, 0x000000, 0x02},  // 5C
    {0x2b0700, 0x000000, 0x02}, {0x4a0000, 0x000000, 0x02},
    {0x4c0000, 0x000000, 0x02}, {0x4d0000, 0x000000, 0x02},  // 60
    {0x4f0000, 0x000000, 0x02}, {0x510000, 0x000000, 0x02},
    {0x530000, 0x000000, 0x02}, {0x550000, 0x000000, 0x02},  // 64
    {0x570000, 0x000000, 0x02}, {0x590000, 0x000000, 0x02},
    {0x5b0000, 0x000000, 0x02}, {0x5c0000, 0x000000, 0x02},  // 68
    {0x5e0000, 0x000000, 0x02}, {0x600000, 0x000000, 0x02},
    {0x620000, 0x000000, 0x02}, {0x640000, 0x000000, 0x02},  // 6C
    {0x660000, 0x000000, 0x02}, {0x680000, 0x000000, 0x02},
    {0x690000, 0x000000, 0x02}, {0x6b0000, 0x000000, 0x02},  // 70
    {0x6d0000, 0x000000, 0x02}, {0x6f0000, 0x000000, 0x02},
    {0x710000, 0x000000, 0x02}, {0x730000, 0x000000, 0x02},  // 74
    {0x750000, 0x000000, 0x02}, {0x760000, 0x000000, 0x02},
    {0x780000, 0x000000, 0x02}, {0x2b0900, 0x000000, 0x02},  // 78
    {0x2b0b00, 0x000000, 0x02}, {0x2b0d00, 0x000000, 0x02},
    {0x2b0f00, 0x000000, 0x02}, {0x000000, 0x000000, 0x00},  // 7C
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 80
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 84
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 88
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 8C
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 90
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 94
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 98
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},
    {0x000000, 0x000000, 0x00}, {0x000000, 0x000000, 0x00},  // 9C
    {0x080200, 0x000000, 0x02}, {0x2b1000, 0x000000, 0x02},
    {0x34a600, 0x000000, 0x02}, {0x34a700, 0x000000, 0x02},  // A0
    {0x34a800, 0x000000, 0x02}, {0x34a900, 0x000000, 0x02},
    {0x2b1100, 0x000000, 0x02}, {0x34aa00, 0x000000, 0x02},  // A4
    {0x2b1200, 0x000000, 0x02}, {0x34ab00, 0x000000, 0x02},
    {0x4a0000, 0x000000, 0x03}, {0x330500, 0x000000, 0x02},  // A8
    {0x34ac00, 0x000000, 0x02}, {0x000000, 0x000000, 0x00},
    {0x34ad00, 0x000000, 0x02}, {0x2b1300, 0x000000, 0x02},  // AC
    {0x34ae00, 0x000000, 0x02}, {0x330400, 0x000000, 0x02},
    {0x3a0000, 0x000000, 0x02}, {0x3c0000, 0x000000, 0x02},  // B0
    {0x2b1400, 0x000000, 0x02}, {0x34af00, 0x000000, 0x02},
    {0x34b000, 0x000000, 0x02}, {0x34b100, 0x000000, 0x02},  // B4
    {0x2b1500, 0x000000, 0x02}, {0x380000, 0x000000, 0x02},
    {0x640000, 0x000000, 0x03}, {0x330700, 0x000000, 0x02},  // B8
    {0x371200, 0x000000, 0x02}, {0x371600, 0x000000, 0x02},
    {0x371a00, 0x000000, 0x02}, {0x2b1600, 0x000000, 0x02},  // BC
    {0x4a0000, 0x000000, 0x0f}, {0x4a0000, 0x000000, 0x0e},
    {0x4a0000, 0x000000, 0x12}, {0x4a0000, 0x000000, 0x19},  // C0
    {0x4a0000, 0x000000, 0x13}, {0x4a0000, 0x000000, 0x1a},
    {0x4a0000, 0x510000, 0x02}, {0x4d0000, 0x000000, 0x1c},  // C4
    {0x510000, 0x000000, 0x0f}, {0x510000, 0x000000, 0x0e},
    {0x510000, 0x000000, 0x12}, {0x510000, 0x000000, 0x13},  // C8
    {0x590000, 0x000000, 0x0f}, {0x590000, 0x000000, 0x0e},
    {0x590000, 0x000000, 0x12}, {0x590000, 0x000000, 0x13},  // CC
    {0x4f0000, 0x000000, 0x68}, {0x620000, 0x000000, 0x19},
    {0x640000, 0x000000, 0x0f}, {0x640000, 0x000000, 0x0e},  // D0
    {0x640000, 0x000000, 0x12}, {0x640000, 0x000000, 0x19},
    {0x640000, 0x000000, 0x13}, {0x330900, 0x000000, 0x02},  // D4
    {0x640000, 0x000000, 0x21}, {0x6f0000, 0x000000, 0x0f},
    {0x6f0000, 0x000000, 0x0e}, {0x6f0000, 0x000000, 0x12},  // D8
    {0x6f0000, 0x000000, 0x13}, {0x760000, 0x000000, 0x0e},
    {0x6d0000, 0x570000, 0x02}, {0x6b0000, 0x6b0000, 0x02},  // DC
    {0x4a0000, 0x000000, 0x0f}, {0x4a0000, 0x000000, 0x0e},
    {0x4a0000, 0x000000, 0x12}, {0x4a0000, 0x000000, 0x19},  // E0
    {0x4a0000, 0x000000, 0x13}, {0x4a0000, 0x000000, 0x1a},
    {0x4a0000, 0x510000, 0x02}, {0x4d0000, 0x000000, 0x1c},  // E4
    {0x510000, 0x000000, 0x0f}, {0x510000, 0x000000, 0x0e},
    {0x510000, 0x000000, 0x12}, {0x510000, 0x000000, 0x13},  // E8
    {0x590000, 0x000000, 0x0f}, {0x590000, 0x000000, 0x0e},
    {0x590000, 0x000000, 0x12}, {0x590000, 0x000000, 0x13},  // EC
    {0x4f0000, 0x000000, 0x68}, {0x620000, 0x000000, 0x19},
    {0x640000, 0x000000, 0x0f}, {0x640000, 0x000000, 0x0e},  // F0
    {0x640000, 0x000000, 0x12}, {0x640000, 0x000000, 0x19},
    {0x640000, 0x000000, 0x13}, {0x330a00, 0x000000, 0x02},  // F4
    {0x640000, 0x000000, 0x21}, {0x6f0000, 0x000000, 0x0f},
    {0x6f0000, 0x000000, 0x0e}, {0x6f0000, 0x000000, 0x12},  // F8
    {0x6f0000, 0x000000, 0x13}, {0x760000, 0x000000, 0x0e},
    {0x6d0000, 0x570000, 0x02}, {0x760000, 0x000000, 0x13},  // FC
}};

constexpr std::uint8_t kNoAccent = 2;
// Texts that differ only in letters outside both tables come after every letter Access knows, by code
// point (upper and lower case of Greek and Cyrillic folded together).
constexpr std::uint32_t kOtherScripts = 0x01000000;

// Diacritics of the Latin letters beyond Windows-1252, each mapped to its accent weight in both orders.
enum class D : std::uint8_t {
    Grave,
    Acute,
    Circumflex,
    Diaeresis,
    Tilde,
    Ring,
    Cedilla,
    Caron,
    Macron,
    Breve,
    Ogonek,
    DotAbove,
    DoubleAcute,
    Stroke,
    CommaBelow,
    DotBelow,
    HookAbove,
    Horn,
    Other,
};
// Jet 3's known weights run from grave (3) to caron (10); the rest follow them.
constexpr std::array<std::uint8_t, 19> kJet3Accents = {3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                       13, 14, 15, 16, 17, 18, 19, 20, 21};
// Jet 4's: acute 0x0E, grave 0x0F, circumflex 0x12, diaeresis 0x13, tilde 0x19, ring 0x1A, cedilla
// 0x1C and stroke (Ø) 0x21 come from Access; the others are placed in the gaps between them.
constexpr std::array<std::uint8_t, 19> kJet4Accents = {0x0F, 0x0E, 0x12, 0x13, 0x19, 0x1A, 0x1C,
                                                       0x14, 0x15, 0x10, 0x17, 0x16, 0x11, 0x21,
                                                       0x1D, 0x1E, 0x1F, 0x20, 0x22};

struct Decomposed {
    char32_t codePoint;
    char base;
    D diacritic;
};
// Latin letters beyond Windows-1252 as a base letter and their first diacritic, sorted by code point.
constexpr Decomposed kLatin[] = {
    {0x0100, 'a', D::Macron},      {0x0101, 'a', D::Macron},      {0x0102, 'a', D::Breve},
    {0x0103, 'a', D::Breve},       {0x0104, 'a', D::Ogonek},      {0x0105, 'a', D::Ogonek},
    {0x0106, 'c', D::Acute},       {0x0107, 'c', D::Acute},       {0x0108, 'c', D::Circumflex},
    {0x0109, 'c', D::Circumflex},  {0x010A, 'c', D::DotAbove},    {0x010B, 'c', D::DotAbove},
    {0x010C, 'c', D::Caron},       {0x010D, 'c', D::Caron},       {0x010E, 'd', D::Caron},
    {0x010F, 'd', D::Caron},       {0x0110, 'd', D::Stroke},      {0x0111, 'd', D::Stroke},
    {0x0112, 'e', D::Macron},      {0x0113, 'e', D::Macron},      {0x0114, 'e', D::Breve},
    {0x0115, 'e', D::Breve},       {0x0116, 'e', D::DotAbove},    {0x0117, 'e', D::DotAbove},
    {0x0118, 'e', D::Ogonek},      {0x0119, 'e', D::Ogonek},      {0x011A, 'e', D::Caron},
    {0x011B, 'e', D::Caron},       {0x011C, 'g', D::Circumflex},  {0x011D, 'g', D::Circumflex},
    {0x011E, 'g', D::Breve},       {0x011F, 'g', D::Breve},       {0x0120, 'g', D::DotAbove},
    {0x0121, 'g', D::DotAbove},    {0x0122, 'g', D::Cedilla},     {0x0123, 'g', D::Cedilla},
    {0x0124, 'h', D::Circumflex},  {0x0125, 'h', D::Circumflex},  {0x0126, 'h', D::Stroke},
    {0x0127, 'h', D::Stroke},      {0x0128, 'i', D::Tilde},       {0x0129, 'i', D::Tilde},
    {0x012A, 'i', D::Macron},      {0x012B, 'i', D::Macron},      {0x012C, 'i', D::Breve},
    {0x012D, 'i', D::Breve},       {0x012E, 'i', D::Ogonek},      {0x012F, 'i', D::Ogonek},
    {0x0130, 'i', D::DotAbove},    {0x0131, 'i', D::Other},       {0x0134, 'j', D::Circumflex},
    {0x0135, 'j', D::Circumflex},  {0x0136, 'k', D::Cedilla},     {0x0137, 'k', D::Cedilla},
    {0x0139, 'l', D::Acute},       {0x013A, 'l', D::Acute},       {0x013B, 'l', D::Cedilla},
    {0x013C, 'l', D::Cedilla},     {0x013D, 'l', D::Caron},       {0x013E, 'l', D::Caron},
    {0x0141, 'l', D::Stroke},      {0x0142, 'l', D::Stroke},      {0x0143, 'n', D::Acute},
    {0x0144, 'n', D::Acute},       {0x0145, 'n', D::Cedilla},     {0x0146, 'n', D::Cedilla},
    {0x0147, 'n', D::Caron},       {0x0148, 'n', D::Caron},       {0x014C, 'o', D::Macron},
    {0x014D, 'o', D::Macron},      {0x014E, 'o', D::Breve},       {0x014F, 'o', D::Breve},
    {0x0150, 'o', D::DoubleAcute}, {0x0151, 'o', D::DoubleAcute}, {0x0154, 'r', D::Acute},
    {0x0155, 'r', D::Acute},       {0x0156, 'r', D::Cedilla},     {0x0157, 'r', D::Cedilla},
    {0x0158, 'r', D::Caron},       {0x0159, 'r', D::Caron},       {0x015A, 's', D::Acute},
    {0x015B, 's', D::Acute},       {0x015C, 's', D::Circumflex},  {0x015D, 's', D::Circumflex},
    {0x015E, 's', D::Cedilla},     {0x015F, 's', D::Cedilla},     {0x0160, 's', D::Caron},
    {0x0161, 's', D::Caron},       {0x0162, 't', D::Cedilla},     {0x0163, 't', D::Cedilla},
    {0x0164, 't', D::Caron},       {0x0165, 't', D::Caron},       {0x0166, 't', D::Stroke},
    {0x0167, 't', D::Stroke},      {0x0168, 'u', D::Tilde},       {0x0169, 'u', D::Tilde},
    {0x016A, 'u', D::Macron},      {0x016B, 'u', D::Macron},      {0x016C, 'u', D::Breve},
    {0x016D, 'u', D::Breve},       {0x016E, 'u', D::Ring},        {0x016F, 'u', D::Ring},
    {0x0170, 'u', D::DoubleAcute}, {0x0171, 'u', D::DoubleAcute}, {0x0172, 'u', D::Ogonek},
    {0x0173, 'u', D::Ogonek},      {0x0174, 'w', D::Circumflex},  {0x0175, 'w', D::Circumflex},
    {0x0176, 'y', D::Circumflex},  {0x0177, 'y', D::Circumflex},  {0x0178, 'y', D::Diaeresis},
    {0x0179, 'z', D::Acute},       {0x017A, 'z', D::Acute},       {0x017B, 'z', D::DotAbove},
    {0x017C, 'z', D::DotAbove},    {0x017D, 'z', D::Caron},       {0x017E, 'z', D::Caron},
    {0x0180, 'b', D::Stroke},      {0x0192, 'f', D::Other},       {0x0197, 'i', D::Stroke},
    {0x01A0, 'o', D::Horn},        {0x01A1, 'o', D::Horn},        {0x01AF, 'u', D::Horn},
    {0x01B0, 'u', D::Horn},        {0x01B5, 'z', D::Stroke},      {0x01B6, 'z', D::Stroke},
    {0x01CD, 'a', D::Caron},       {0x01CE, 'a', D::Caron},       {0x01CF, 'i', D::Caron},
    {0x01D0, 'i', D::Caron},       {0x01D1, 'o', D::Caron},       {0x01D2, 'o', D::Caron},
    {0x01D3, 'u', D::Caron},       {0x01D4, 'u', D::Caron},       {0x01D5, 'u', D::Diaeresis},
    {0x01D6, 'u', D::Diaeresis},   {0x01D7, 'u', D::Diaeresis},   {0x01D8, 'u', D::Diaeresis},
    {0x01D9, 'u', D::Diaeresis},   {0x01DA, 'u', D::Diaeresis},   {0x01DB, 'u', D::Diaeresis},
    {0x01DC, 'u', D::Diaeresis},   {0x01DE, 'a', D::Diaeresis},   {0x01DF, 'a', D::Diaeresis},
    {0x01E0, 'a', D::DotAbove},    {0x01E1, 'a', D::DotAbove},    {0x01E4, 'g', D::Stroke},
    {0x01E5, 'g', D::Stroke},      {0x01E6, 'g', D::Caron},       {0x01E7, 'g', D::Caron},
    {0x01E8, 'k', D::Caron},       {0x01E9, 'k', D::Caron},       {0x01EA, 'o', D::Ogonek},
    {0x01EB, 'o', D::Ogonek},      {0x01EC, 'o', D::Ogonek},      {0x01ED, 'o', D::Ogonek},
    {0x01F0, 'j', D::Caron},       {0x01F4, 'g', D::Acute},       {0x01F5, 'g', D::Acute},
    {0x01F8, 'n', D::Grave},       {0x01F9, 'n', D::Grave},       {0x01FA, 'a', D::Ring},
    {0x01FB, 'a', D::Ring},        {0x0218, 's', D::CommaBelow},  {0x0219, 's', D::CommaBelow},
    {0x021A, 't', D::CommaBelow},  {0x021B, 't', D::CommaBelow},  {0x021E, 'h', D::Caron},
    {0x021F, 'h', D::Caron},       {0x0226, 'a', D::DotAbove},    {0x0227, 'a', D::DotAbove},
    {0x0228, 'e', D::Cedilla},     {0x0229, 'e', D::Cedilla},     {0x022A, 'o', D::Diaeresis},
    {0x022B, 'o', D::Diaeresis},   {0x022C, 'o', D::Tilde},       {0x022D, 'o', D::Tilde},
    {0x022E, 'o', D::DotAbove},    {0x022F, 'o', D::DotAbove},    {0x0230, 'o', D::DotAbove},
    {0x0231, 'o', D::DotAbove},    {0x0232, 'y', D::Macron},      {0x0233, 'y', D::Macron},
    {0x1E02, 'b', D::DotAbove},    {0x1E03, 'b', D::DotAbove},    {0x1E04, 'b', D::DotBelow},
    {0x1E05, 'b', D::DotBelow},    {0x1E08, 'c', D::Cedilla},     {0x1E09, 'c', D::Cedilla},
    {0x1E0A, 'd', D::DotAbove},    {0x1E0B, 'd', D::DotAbove},    {0x1E0C, 'd', D::DotBelow},
    {0x1E0D, 'd', D::DotBelow},    {0x1E10, 'd', D::Cedilla},     {0x1E11, 'd', D::Cedilla},
    {0x1E14, 'e', D::Macron},      {0x1E15, 'e', D::Macron},      {0x1E16, 'e', D::Macron},
    {0x1E17, 'e', D::Macron},      {0x1E1C, 'e', D::Cedilla},     {0x1E1D, 'e', D::Cedilla},
    {0x1E1E, 'f', D::DotAbove},    {0x1E1F, 'f', D::DotAbove},    {0x1E20, 'g', D::Macron},
    {0x1E21, 'g', D::Macron},      {0x1E22, 'h', D::DotAbove},    {0x1E23, 'h', D::DotAbove},
    {0x1E24, 'h', D::DotBelow},    {0x1E25, 'h', D::DotBelow},    {0x1E26, 'h', D::Diaeresis},
    {0x1E27, 'h', D::Diaeresis},   {0x1E28, 'h', D::Cedilla},     {0x1E29, 'h', D::Cedilla},
    {0x1E2E, 'i', D::Diaeresis},   {0x1E2F, 'i', D::Diaeresis},   {0x1E30, 'k', D::Acute},
    {0x1E31, 'k', D::Acute},       {0x1E32, 'k', D::DotBelow},    {0x1E33, 'k', D::DotBelow},
    {0x1E36, 'l', D::DotBelow},    {0x1E37, 'l', D::DotBelow},    {0x1E38, 'l', D::DotBelow},
    {0x1E39, 'l', D::DotBelow},    {0x1E3E, 'm', D::Acute},       {0x1E3F, 'm', D::Acute},
    {0x1E40, 'm', D::DotAbove},    {0x1E41, 'm', D::DotAbove},    {0x1E42, 'm', D::DotBelow},
    {0x1E43, 'm', D::DotBelow},    {0x1E44, 'n', D::DotAbove},    {0x1E45, 'n', D::DotAbove},
    {0x1E46, 'n', D::DotBelow},    {0x1E47, 'n', D::DotBelow},    {0x1E4C, 'o', D::Tilde},
    {0x1E4D, 'o', D::Tilde},       {0x1E4E, 'o', D::Tilde},       {0x1E4F, 'o', D::Tilde},
    {0x1E50, 'o', D::Macron},      {0x1E51, 'o', D::Macron},      {0x1E52, 'o', D::Macron},
    {0x1E53, 'o', D::Macron},      {0x1E54, 'p', D::Acute},       {0x1E55, 'p', D::Acute},
    {0x1E56, 'p', D::DotAbove},    {0x1E57, 'p', D::DotAbove},    {0x1E58, 'r', D::DotAbove},
    {0x1E59, 'r', D::DotAbove},    {0x1E5A, 'r', D::DotBelow},    {0x1E5B, 'r', D::DotBelow},
    {0x1E5C, 'r', D::DotBelow},    {0x1E5D, 'r', D::DotBelow},    {0x1E60, 's', D::DotAbove},
    {0x1E61, 's', D::DotAbove},    {0x1E62, 's', D::DotBelow},    {0x1E63, 's', D::DotBelow},
    {0x1E64, 's', D::Acute},       {0x1E65, 's', D::Acute},       {0x1E66, 's', D::Caron},
    {0x1E67, 's', D::Caron},       {0x1E68, 's', D::DotBelow},    {0x1E69, 's', D::DotBelow},
    {0x1E6A, 't', D::DotAbove},    {0x1E6B, 't', D::DotAbove},    {0x1E6C, 't', D::DotBelow},
    {0x1E6D, 't', D::DotBelow},    {0x1E78, 'u', D::Tilde},       {0x1E79, 'u', D::Tilde},
    {0x1E7A, 'u', D::Macron},      {0x1E7B, 'u', D::Macron},      {0x1E7C, 'v', D::Tilde},
    {0x1E7D, 'v', D::Tilde},       {0x1E7E, 'v', D::DotBelow},    {0x1E7F, 'v', D::DotBelow},
    {0x1E80, 'w', D::Grave},       {0x1E81, 'w', D::Grave},       {0x1E82, 'w', D::Acute},
    {0x1E83, 'w', D::Acute},       {0x1E84, 'w', D::Diaeresis},   {0x1E85, 'w', D::Diaeresis},
    {0x1E86, 'w', D::DotAbove},    {0x1E87, 'w', D::DotAbove},    {0x1E88, 'w', D::DotBelow},
    {0x1E89, 'w', D::DotBelow},    {0x1E8A, 'x', D::DotAbove},    {0x1E8B, 'x', D::DotAbove},
    {0x1E8C, 'x', D::Diaeresis},   {0x1E8D, 'x', D::Diaeresis},   {0x1E8E, 'y', D::DotAbove},
    {0x1E8F, 'y', D::DotAbove},    {0x1E90, 'z', D::Circumflex},  {0x1E91, 'z', D::Circumflex},
    {0x1E92, 'z', D::DotBelow},    {0x1E93, 'z', D::DotBelow},    {0x1E97, 't', D::Diaeresis},
    {0x1E98, 'w', D::Ring},        {0x1E99, 'y', D::Ring},        {0x1EA0, 'a', D::DotBelow},
    {0x1EA1, 'a', D::DotBelow},    {0x1EA2, 'a', D::HookAbove},   {0x1EA3, 'a', D::HookAbove},
    {0x1EA4, 'a', D::Circumflex},  {0x1EA5, 'a', D::Circumflex},  {0x1EA6, 'a', D::Circumflex},
    {0x1EA7, 'a', D::Circumflex},  {0x1EA8, 'a', D::Circumflex},  {0x1EA9, 'a', D::Circumflex},
    {0x1EAA, 'a', D::Circumflex},  {0x1EAB, 'a', D::Circumflex},  {0x1EAC, 'a', D::DotBelow},
    {0x1EAD, 'a', D::DotBelow},    {0x1EAE, 'a', D::Breve},       {0x1EAF, 'a', D::Breve},
    {0x1EB0, 'a', D::Breve},       {0x1EB1, 'a', D::Breve},       {0x1EB2, 'a', D::Breve},
    {0x1EB3, 'a', D::Breve},       {0x1EB4, 'a', D::Breve},       {0x1EB5, 'a', D::Breve},
    {0x1EB6, 'a', D::DotBelow},    {0x1EB7, 'a', D::DotBelow},    {0x1EB8, 'e', D::DotBelow},
    {0x1EB9, 'e', D::DotBelow},    {0x1EBA, 'e', D::HookAbove},   {0x1EBB, 'e', D::HookAbove},
    {0x1EBC, 'e', D::Tilde},       {0x1EBD, 'e', D::Tilde},       {0x1EBE, 'e', D::Circumflex},
    {0x1EBF, 'e', D::Circumflex},  {0x1EC0, 'e', D::Circumflex},  {0x1EC1, 'e', D::Circumflex},
    {0x1EC2, 'e', D::Circumflex},  {0x1EC3, 'e', D::Circumflex},  {0x1EC4, 'e', D::Circumflex},
    {0x1EC5, 'e', D::Circumflex},  {0x1EC6, 'e', D::DotBelow},    {0x1EC7, 'e', D::DotBelow},
    {0x1EC8, 'i', D::HookAbove},   {0x1EC9, 'i', D::HookAbove},   {0x1ECA, 'i', D::DotBelow},
    {0x1ECB, 'i', D::DotBelow},    {0x1ECC, 'o', D::DotBelow},    {0x1ECD, 'o', D::DotBelow},
    {0x1ECE, 'o', D::HookAbove},   {0x1ECF, 'o', D::HookAbove},   {0x1ED0, 'o', D::Circumflex},
    {0x1ED1, 'o', D::Circumflex},  {0x1ED2, 'o', D::Circumflex},  {0x1ED3, 'o', D::Circumflex},
    {0x1ED4, 'o', D::Circumflex},  {0x1ED5, 'o', D::Circumflex},  {0x1ED6, 'o', D::Circumflex},
    {0x1ED7, 'o', D::Circumflex},  {0x1ED8, 'o', D::DotBelow},    {0x1ED9, 'o', D::DotBelow},
    {0x1EDA, 'o', D::Horn},        {0x1EDB, 'o', D::Horn},        {0x1EDC, 'o', D::Horn},
    {0x1EDD, 'o', D::Horn},        {0x1EDE, 'o', D::Horn},        {0x1EDF, 'o', D::Horn},
    {0x1EE0, 'o', D::Horn},        {0x1EE1, 'o', D::Horn},        {0x1EE2, 'o', D::Horn},
    {0x1EE3, 'o', D::Horn},        {0x1EE4, 'u', D::DotBelow},    {0x1EE5, 'u', D::DotBelow},
    {0x1EE6, 'u', D::HookAbove},   {0x1EE7, 'u', D::HookAbove},   {0x1EE8, 'u', D::Horn},
    {0x1EE9, 'u', D::Horn},        {0x1EEA, 'u', D::Horn},        {0x1EEB, 'u', D::Horn},
    {0x1EEC, 'u', D::Horn},        {0x1EED, 'u', D::Horn},        {0x1EEE, 'u', D::Horn},
    {0x1EEF, 'u', D::Horn},        {0x1EF0, 'u', D::Horn},        {0x1EF1, 'u', D::Horn},
    {0x1EF2, 'y', D::Grave},       {0x1EF3, 'y', D::Grave},       {0x1EF4, 'y', D::DotBelow},
    {0x1EF5, 'y', D::DotBelow},    {0x1EF6, 'y', D::HookAbove},   {0x1EF7, 'y', D::HookAbove},
    {0x1EF8, 'y', D::Tilde},       {0x1EF9, 'y', D::Tilde},
};

// Windows-1252's characters at 0x80-0x9F; 0 where the code page defines none.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Jet 4 weights of the Windows-1252 characters above U+00FF that are not Latin letters with a
// diacritic. Œ is spelled "oe" as Æ is "ae"; the dashes and single quotation marks are left out of
// the first levels like the hyphen and the apostrophe (Jet 3 gives them the hyphen's and the
// apostrophe's weights); the rest sit beside their nearest relative in Access's table.
struct Jet4Extra {
    char32_t codePoint;
    CharWeights weights;
};
constexpr Jet4Extra kJet4Extras[] = {
    {0x0152, {0x640000, 0x510000, kNoAccent}},
    {0x0153, {0x640000, 0x510000, kNoAccent}},
    {0x02C6, {0x2b0280, 0, kNoAccent}},
    {0x02DC, {0x2b0f80, 0, kNoAccent}},
    {0x2013, {0, 0, 0}},
    {0x2014, {0, 0, 0}},
    {0x2018, {0, 0, 0}},
    {0x2019, {0, 0, 0}},
    {0x201A, {0, 0, 0}},
    {0x201C, {0x0a0080, 0, kNoAccent}},
    {0x201D, {0x0a0080, 0, kNoAccent}},
    {0x201E, {0x0a0080, 0, kNoAccent}},
    {0x2020, {0x34b180, 0, kNoAccent}},
    {0x2021, {0x34b1c0, 0, kNoAccent}},
    {0x2022, {0x34b1e0, 0, kNoAccent}},
    {0x2026, {0x1c0080, 0, kNoAccent}},
    {0x2030, {0x100080, 0, kNoAccent}},
    {0x2039, {0x330580, 0, kNoAccent}},
    {0x203A, {0x330680, 0, kNoAccent}},
    {0x20AC, {0x34a980, 0, kNoAccent}},
    {0x2122, {0x34ab80, 0, kNoAccent}},
};

// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
int Cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    if (c < 0x100) return -1;
    auto* it = std::find(kCp1252High.begin(), kCp1252High.end(), static_cast<char16_t>(c));
    if (c > 0xFFFF || it == kCp1252High.end()) return -1;
    return static_cast<int>(0x80 + (it - kCp1252High.begin()));
}

char32_t FoldOtherScript(char32_t c) {
    if (c >= 0x0391 && c <= 0x03A9) return c + 0x20;  // Greek capitals
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;  // Cyrillic capitals
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;  // Cyrillic capitals with a diacritic
    return c;
}

CharWeights WeightsOf(char32_t c, AccessSortOrder order) {
    const auto& table = order == AccessSortOrder::Jet3 ? kJet3 : kJet4;
    if (order == AccessSortOrder::Jet3) {
        if (c >= 0x80 && c <= 0x9F) return table[0x01];  // C1 controls: as the control characters
        if (c == 0xFFFD) return table[0x81];             // an undefined byte, decoded
        int byte = Cp1252Byte(c);
        if (byte >= 0) return table[static_cast<std::size_t>(byte)];
    } else {
        if (c < 0x100) return table[c];
        const auto* extra = std::find_if(std::begin(kJet4Extras), std::end(kJet4Extras),
                                         [c](const Jet4Extra& e) { return e.codePoint == c; });
        if (extra != std::end(kJet4Extras)) return extra->weights;
    }
    const auto* latin = std::lower_bound(std::begin(kLatin), std::end(kLatin), c,
                                         [](const Decomposed& d, char32_t v) { return d.codePoint < v; });
    if (latin != std::end(kLatin) && latin->codePoint == c) {
        CharWeights base = table[static_cast<unsigned char>(latin->base)];
        const auto& accents = order == AccessSortOrder::Jet3 ? kJet3Accents : kJet4Accents;
        base.accent = accents[static_cast<std::size_t>(latin->diacritic)];
        return base;
    }
    return {kOtherScripts + FoldOtherScript(c), 0, kNoAccent};
}

// Walks a text's weights one level at a time, decoding as it goes: comparing allocates nothing.
class WeightCursor {
  public:
    WeightCursor(std::string_view text, AccessSortOrder order) : text_(text), order_(order) {}

    // The next primary weight, skipping the characters left out of the first levels; false at the end.
    bool NextPrimary(std::uint32_t& weight) {
        if (pending_ != 0) {
            weight = pending_;
            pending_ = 0;
            return true;
        }
        CharWeights w{};
        do {
            if (!NextChar(w)) return false;
        } while (w.primary == 0);
        weight = w.primary;
        pending_ = w.second;
        return true;
    }

    // The next accent weight, one per character that has a primary weight; false at the end.
    bool NextAccent(std::uint8_t& weight) {
        CharWeights w{};
        do {
            if (!NextChar(w)) return false;
        } while (w.primary == 0);
        weight = w.accent;
        return true;
    }

    // The number of characters left out of the first levels.
    std::size_t CountLeftOut() {
        std::size_t count = 0;
        CharWeights w{};
        while (NextChar(w))
            if (w.primary == 0) ++count;
        return count;
    }

  private:
    std::string_view text_;
    AccessSortOrder order_;
    std::uint32_t pending_ = 0;

    bool NextChar(CharWeights& w) {
        if (text_.empty()) return false;
        char32_t c = 0;
        std::size_t length = DecodeUtf8(text_, c);
        if (length == 0) {
            // A byte that is not UTF-8 is read as the Windows-1252 character it would be.
            auto byte = static_cast<unsigned char>(text_.front());
            c = byte >= 0x80 && byte <= 0x9F && kCp1252High[byte - 0x80] != 0 ? kCp1252High[byte - 0x80]
                : byte >= 0x80 && byte <= 0x9F                                ? char32_t{0xFFFD}
                                                                              : char32_t{byte};
            length = 1;
        }
        text_.remove_prefix(length);
        w = WeightsOf(c, order_);
        return true;
    }
};

int Sign(std::int64_t v) {
    return (v > 0) - (v < 0);
}

int ComparePrimary(std::string_view a, std::string_view b, AccessSortOrder order) {
    WeightCursor ca(a, order);
    WeightCursor cb(b, order);
    for (;;) {
        std::uint32_t wa = 0;
        std::uint32_t wb = 0;
        bool ha = ca.NextPrimary(wa);
        bool hb = cb.NextPrimary(wb);
        if (!ha || !hb) return static_cast<int>(ha) - static_cast<int>(hb);
        if (wa != wb) return wa < wb ? -1 : 1;
    }
}

// Access drops the trailing unaccented letters from a key, so a shorter run reads as unaccented.
int CompareAccents(std::string_view a, std::string_view b, AccessSortOrder order) {
    WeightCursor ca(a, order);
    WeightCursor cb(b, order);
    for (;;) {
        std::uint8_t wa = kNoAccent;
        std::uint8_t wb = kNoAccent;
        bool ha = ca.NextAccent(wa);
        bool hb = cb.NextAccent(wb);
        if (!ha && !hb) return 0;
        if (wa != wb) return wa < wb ? -1 : 1;
    }
}

int CollateAccess(void* order, int lengthA, const void* a, int lengthB, const void* b) {
    std::string_view ta(static_cast<const char*>(a), static_cast<std::size_t>(std::max(lengthA, 0)));
    std::string_view tb(static_cast<const char*>(b), static_cast<std::size_t>(std::max(lengthB, 0)));
    return CompareAccessText(ta, tb, *static_cast<const AccessSortOrder*>(order));
}

constexpr AccessSortOrder kOrders[] = {AccessSortOrder::Jet3, AccessSortOrder::Jet4};

}  // namespace

int CompareAccessText(std::string_view a, std::string_view b, AccessSortOrder order) {
    if (int c = ComparePrimary(a, b, order); c != 0) return c;
    if (int c = CompareAccents(a, b, order); c != 0) return c;
    // Access stops here (case included): the rest only makes the order total, so that equal names
    // come out the same way whichever route and query plan sorted them.
    std::size_t leftOutA = WeightCursor(a, order).CountLeftOut();
    std::size_t leftOutB = WeightCursor(b, order).CountLeftOut();
    if (leftOutA != leftOutB) return leftOutA < leftOutB ? -1 : 1;
    return Sign(a.compare(b));
}

void RegisterAccessCollation(sqlite3* db, AccessSortOrder order) {
    // SQLite keeps the pointer: it must outlive the connection, hence the static array.
    const AccessSortOrder* orderPtr = order == AccessSortOrder::Jet3 ? &kOrders[0] : &kOrders[1];
    int rc = sqlite3_create_collation_v2(db, kAccessCollation, SQLITE_UTF8,
                                         const_cast<AccessSortOrder*>(orderPtr), CollateAccess, nullptr);
    if (rc != SQLITE_OK)
        throw std::runtime_error(std::string("cannot register collation ") + kAccessCollation + ": " +
                                 sqlite3_errstr(rc));
}

}  // namespace calvorin
