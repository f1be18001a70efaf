// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/AccessCollation.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/db/SqliteConnection.h"
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

constexpr std::uint8_t kNoAccent = 2;

// A Jet 3 key byte (and the second of a letter spelled as two).
constexpr CharWeights J3(std::uint8_t key, std::uint8_t accent = kNoAccent, std::uint8_t second = 0) {
    return {static_cast<std::uint32_t>(key) << 16, static_cast<std::uint32_t>(second) << 16, accent};
}
// A Jet 4 key code, one byte (0xNN00) or two (0xNNNN); 0 for a character left out.
constexpr CharWeights J4(std::uint16_t key, std::uint8_t accent = kNoAccent, std::uint16_t second = 0) {
    return {static_cast<std::uint32_t>(key) << 8, static_cast<std::uint32_t>(second) << 8, accent};
}

// The weights below are those of Access's own index keys: Jet 3's from an Access 97 file whose indexes
// hold every Windows-1252 character between two letters, Jet 4's from an Access 2003 index over a
// text of every character up to U+00FF. Each primary byte of a key is shifted up 16 bits (a two-byte
// Jet 4 code takes 16 of them) so that characters we place between two of Access's fit in the gaps.

// Jet 3, by Windows-1252 byte. The bytes its code page left undefined (and €, Ž, ž, which came
// later) sort with the control characters, as in Access 97.
// clang-format off
constexpr std::array<CharWeights, 256> kJet3 = {{
    J3(0x10), J3(0x10), J3(0x10), J3(0x10),  // 00
    J3(0x10), J3(0x10), J3(0x10), J3(0x10),  // 04
    J3(0x10), J3(0x11), J3(0x10), J3(0x10),  // 08
    J3(0x10), J3(0x10), J3(0x10), J3(0x10),  // 0C
    J3(0x10), J3(0x10), J3(0x10), J3(0x10),  // 10
    J3(0x10), J3(0x10), J3(0x10), J3(0x10),  // 14
    J3(0x10), J3(0x10), J3(0x10), J3(0x10),  // 18
    J3(0x10), J3(0x10), J3(0x10), J3(0x10),  // 1C
    J3(0x11), J3(0x12), J3(0x13), J3(0x14),  // 20
    J3(0x15), J3(0x16), J3(0x17), J3(0x18),  // 24
    J3(0x19), J3(0x1a), J3(0x1b), J3(0x1c),  // 28
    J3(0x1d), J3(0x1e), J3(0x1f), J3(0x20),  // 2C
    J3(0x56), J3(0x57), J3(0x58), J3(0x59),  // 30
    J3(0x5a), J3(0x5b), J3(0x5c), J3(0x5d),  // 34
    J3(0x5e), J3(0x5f), J3(0x21), J3(0x22),  // 38
    J3(0x23), J3(0x24), J3(0x25), J3(0x26),  // 3C
    J3(0x27), J3(0x60), J3(0x61), J3(0x62),  // 40
    J3(0x64), J3(0x66), J3(0x67), J3(0x68),  // 44
    J3(0x69), J3(0x6a), J3(0x6b), J3(0x6c),  // 48
    J3(0x6d), J3(0x6f), J3(0x70), J3(0x72),  // 4C
    J3(0x73), J3(0x74), J3(0x75), J3(0x76),  // 50
    J3(0x77), J3(0x78), J3(0x7a), J3(0x7b),  // 54
    J3(0x7c), J3(0x7d), J3(0x7e), J3(0x28),  // 58
    J3(0x29), J3(0x2a), J3(0x2b), J3(0x2c),  // 5C
    J3(0x2d), J3(0x60), J3(0x61), J3(0x62),  // 60
    J3(0x64), J3(0x66), J3(0x67), J3(0x68),  // 64
    J3(0x69), J3(0x6a), J3(0x6b), J3(0x6c),  // 68
    J3(0x6d), J3(0x6f), J3(0x70), J3(0x72),  // 6C
    J3(0x73), J3(0x74), J3(0x75), J3(0x76),  // 70
    J3(0x77), J3(0x78), J3(0x7a), J3(0x7b),  // 74
    J3(0x7c), J3(0x7d), J3(0x7e), J3(0x2e),  // 78
    J3(0x2f), J3(0x30), J3(0x31), J3(0x10),  // 7C
    J3(0x10), J3(0x10), J3(0x18), J3(0x32),  // 80
    J3(0x13), J3(0x33), J3(0x34), J3(0x35),  // 84
    J3(0x36), J3(0x37), J3(0x76, 10), J3(0x18),  // 88
    J3(0x72, 2, 0x66), J3(0x10), J3(0x10), J3(0x10),  // 8C
    J3(0x10), J3(0x18), J3(0x18), J3(0x13),  // 90
    J3(0x13), J3(0x38), J3(0x1e), J3(0x1e),  // 94
    J3(0x39), J3(0x3a), J3(0x76, 10), J3(0x18),  // 98
    J3(0x72, 2, 0x66), J3(0x10), J3(0x10), J3(0x7d, 6),  // 9C
    J3(0x11), J3(0x3b), J3(0x3c), J3(0x3d),  // A0
    J3(0x3e), J3(0x3f), J3(0x40), J3(0x41),  // A4
    J3(0x42), J3(0x43), J3(0x44), J3(0x13),  // A8
    J3(0x45), J3(0x1e), J3(0x46), J3(0x47),  // AC
    J3(0x48), J3(0x49), J3(0x58), J3(0x59),  // B0
    J3(0x4a), J3(0x4b), J3(0x4c), J3(0x4d),  // B4
    J3(0x4e), J3(0x57), J3(0x4f), J3(0x13),  // B8
    J3(0x50), J3(0x51), J3(0x52), J3(0x53),  // BC
    J3(0x60, 3), J3(0x60, 4), J3(0x60, 5), J3(0x60, 7),  // C0
    J3(0x60, 6), J3(0x60, 8), J3(0x60, 2, 0x66), J3(0x62, 9),  // C4
    J3(0x66, 3), J3(0x66, 4), J3(0x66, 5), J3(0x66, 6),  // C8
    J3(0x6a, 3), J3(0x6a, 4), J3(0x6a, 5), J3(0x6a, 6),  // CC
    J3(0x65), J3(0x70, 7), J3(0x72, 3), J3(0x72, 4),  // D0
    J3(0x72, 5), J3(0x72, 7), J3(0x72, 6), J3(0x54),  // D4
    J3(0x81), J3(0x78, 3), J3(0x78, 4), J3(0x78, 5),  // D8
    J3(0x78, 6), J3(0x7d, 4), J3(0x7f), J3(0x76, 2, 0x76),  // DC
    J3(0x60, 3), J3(0x60, 4), J3(0x60, 5), J3(0x60, 7),  // E0
    J3(0x60, 6), J3(0x60, 8), J3(0x60, 2, 0x66), J3(0x62, 9),  // E4
    J3(0x66, 3), J3(0x66, 4), J3(0x66, 5), J3(0x66, 6),  // E8
    J3(0x6a, 3), J3(0x6a, 4), J3(0x6a, 5), J3(0x6a, 6),  // EC
    J3(0x65), J3(0x70, 7), J3(0x72, 3), J3(0x72, 4),  // F0
    J3(0x72, 5), J3(0x72, 7), J3(0x72, 6), J3(0x55),  // F4
    J3(0x81), J3(0x78, 3), J3(0x78, 4), J3(0x78, 5),  // F8
    J3(0x78, 6), J3(0x7d, 4), J3(0x7f), J3(0x7d, 6),  // FC
}};

// Jet 4, by code point.
constexpr std::array<CharWeights, 256> kJet4 = {{
    J4(0), J4(0), J4(0), J4(0),  // 00
    J4(0), J4(0), J4(0), J4(0),  // 04
    J4(0), J4(0x0803), J4(0x0804), J4(0x0805),  // 08
    J4(0x0806), J4(0x0807), J4(0), J4(0),  // 0C
    J4(0), J4(0), J4(0), J4(0),  // 10
    J4(0), J4(0), J4(0), J4(0),  // 14
    J4(0), J4(0), J4(0), J4(0),  // 18
    J4(0), J4(0), J4(0), J4(0),  // 1C
    J4(0x0700), J4(0x0900), J4(0x0a00), J4(0x0c00),  // 20
    J4(0x0e00), J4(0x1000), J4(0x1200), J4(0),  // 24
    J4(0x1400), J4(0x1600), J4(0x1800), J4(0x2c00),  // 28
    J4(0x1a00), J4(0), J4(0x1c00), J4(0x1e00),  // 2C
    J4(0x3600), J4(0x3800), J4(0x3a00), J4(0x3c00),  // 30
    J4(0x3e00), J4(0x4000), J4(0x4200), J4(0x4400),  // 34
    J4(0x4600), J4(0x4800), J4(0x2000), J4(0x2200),  // 38
    J4(0x2e00), J4(0x3000), J4(0x3200), J4(0x2400),  // 3C
    J4(0x2600), J4(0x4a00), J4(0x4c00), J4(0x4d00),  // 40
    J4(0x4f00), J4(0x5100), J4(0x5300), J4(0x5500),  // 44
    J4(0x5700), J4(0x5900), J4(0x5b00), J4(0x5c00),  // 48
    J4(0x5e00), J4(0x6000), J4(0x6200), J4(0x6400),  // 4C
    J4(0x6600), J4(0x6800), J4(0x6900), J4(0x6b00),  // 50
    J4(0x6d00), J4(0x6f00), J4(0x7100), J4(0x7300),  // 54
    J4(0x7500), J4(0x7600), J4(0x7800), J4(0x2700),  // 58
    J4(0x2900), J4(0x2a00), J4(0x2b02), J4(0x2b03),  // 5C
    J4(0x2b07), J4(0x4a00), J4(0x4c00), J4(0x4d00),  // 60
    J4(0x4f00), J4(0x5100), J4(0x5300), J4(0x5500),  // 64
    J4(0x5700), J4(0x5900), J4(0x5b00), J4(0x5c00),  // 68
    J4(0x5e00), J4(0x6000), J4(0x6200), J4(0x6400),  // 6C
    J4(0x6600), J4(0x6800), J4(0x6900), J4(0x6b00),  // 70
    J4(0x6d00), J4(0x6f00), J4(0x7100), J4(0x7300),  // 74
    J4(0x7500), J4(0x7600), J4(0x7800), J4(0x2b09),  // 78
    J4(0x2b0b), J4(0x2b0d), J4(0x2b0f), J4(0),  // 7C
    J4(0), J4(0), J4(0), J4(0),  // 80
    J4(0), J4(0), J4(0), J4(0),  // 84
    J4(0), J4(0), J4(0), J4(0),  // 88
    J4(0), J4(0), J4(0), J4(0),  // 8C
    J4(0), J4(0), J4(0), J4(0),  // 90
    J4(0), J4(0), J4(0), J4(0),  // 94
    J4(0), J4(0), J4(0), J4(0),  // 98
    J4(0), J4(0), J4(0), J4(0),  // 9C
    J4(0x0802), J4(0x2b10), J4(0x34a6), J4(0x34a7),  // A0
    J4(0x34a8), J4(0x34a9), J4(0x2b11), J4(0x34aa),  // A4
    J4(0x2b12), J4(0x34ab), J4(0x4a00, 0x03), J4(0x3305),  // A8
    J4(0x34ac), J4(0), J4(0x34ad), J4(0x2b13),  // AC
    J4(0x34ae), J4(0x3304), J4(0x3a00), J4(0x3c00),  // B0
    J4(0x2b14), J4(0x34af), J4(0x34b0), J4(0x34b1),  // B4
    J4(0x2b15), J4(0x3800), J4(0x6400, 0x03), J4(0x3307),  // B8
    J4(0x3712), J4(0x3716), J4(0x371a), J4(0x2b16),  // BC
    J4(0x4a00, 0x0f), J4(0x4a00, 0x0e), J4(0x4a00, 0x12), J4(0x4a00, 0x19),  // C0
    J4(0x4a00, 0x13), J4(0x4a00, 0x1a), J4(0x4a00, 0x02, 0x5100), J4(0x4d00, 0x1c),  // C4
    J4(0x5100, 0x0f), J4(0x5100, 0x0e), J4(0x5100, 0x12), J4(0x5100, 0x13),  // C8
    J4(0x5900, 0x0f), J4(0x5900, 0x0e), J4(0x5900, 0x12), J4(0x5900, 0x13),  // CC
    J4(0x4f00, 0x68), J4(0x6200, 0x19), J4(0x6400, 0x0f), J4(0x6400, 0x0e),  // D0
    J4(0x6400, 0x12), J4(0x6400, 0x19), J4(0x6400, 0x13), J4(0x3309),  // D4
    J4(0x6400, 0x21), J4(0x6f00, 0x0f), J4(0x6f00, 0x0e), J4(0x6f00, 0x12),  // D8
    J4(0x6f00, 0x13), J4(0x7600, 0x0e), J4(0x6d00, 0x02, 0x5700), J4(0x6b00, 0x02, 0x6b00),  // DC
    J4(0x4a00, 0x0f), J4(0x4a00, 0x0e), J4(0x4a00, 0x12), J4(0x4a00, 0x19),  // E0
    J4(0x4a00, 0x13), J4(0x4a00, 0x1a), J4(0x4a00, 0x02, 0x5100), J4(0x4d00, 0x1c),  // E4
    J4(0x5100, 0x0f), J4(0x5100, 0x0e), J4(0x5100, 0x12), J4(0x5100, 0x13),  // E8
    J4(0x5900, 0x0f), J4(0x5900, 0x0e), J4(0x5900, 0x12), J4(0x5900, 0x13),  // EC
    J4(0x4f00, 0x68), J4(0x6200, 0x19), J4(0x6400, 0x0f), J4(0x6400, 0x0e),  // F0
    J4(0x6400, 0x12), J4(0x6400, 0x19), J4(0x6400, 0x13), J4(0x330a),  // F4
    J4(0x6400, 0x21), J4(0x6f00, 0x0f), J4(0x6f00, 0x0e), J4(0x6f00, 0x12),  // F8
    J4(0x6f00, 0x13), J4(0x7600, 0x0e), J4(0x6d00, 0x02, 0x5700), J4(0x7600, 0x13),  // FC
}};
// clang-format on

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
    if (sqlite3_create_collation_v2(db, kAccessCollation, SQLITE_UTF8, const_cast<AccessSortOrder*>(orderPtr),
                                    CollateAccess, nullptr) != SQLITE_OK)
        ThrowSqliteError(db, "Impossibile preparare l'ordinamento dei nomi: ");
}

}  // namespace calvorin
