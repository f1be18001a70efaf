// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time export's fixture: FCM's js/fcmSerieADati.js in a folder of its own, the tables exported and
// the blocks expected.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text/Encoding.h"
#include "starttimes/ParseDateTime.h"
#include "starttimes/SerieAExport.h"
#include "starttimes/TestDateTime.h"
#include "support/TempDir.h"

namespace calvorin::test {

using Orari = std::array<LocalDateTime, kMatchdays>;

inline Orari DefaultOrari() {
    Orari orari;
    for (int n = 1; n <= kMatchdays; ++n)
        ParseDateTime(DefaultStartTimeText(n), DateTimeForm::Storage, orari[n - 1]);
    return orari;
}

// The table the tests export: the defaults with two changes, one with seconds.
inline Orari NewOrari() {
    Orari orari = DefaultOrari();
    orari[1] = At(2023, 8, 19, 18, 30, 15);
    orari[37] = At(2024, 5, 26, 20, 45);
    return orari;
}

// The block as the site's scripts expect it, built here from the date parts, lines ending in CR LF.
inline std::string ExpectedBlock(const Orari& orari) {
    std::string block = "\r\n\r\nvar arrDateA=new Array()\r\na=arrDateA\r\n";
    for (int n = 1; n <= kMatchdays; ++n) {
        DateTimeParts p = orari[n - 1].Parts();
        char line[64];
        std::snprintf(line, sizeof line, "a[%d]=new Date(\"%04d-%02d-%02dT%02d:%02d:%02d\")\r\n", n, p.year,
                      p.month, p.day, p.hour, p.minute, p.second);
        block += line;
    }
    return block;
}

// An earlier run's block, with the line ends of the file it sits in.
inline std::string OldBlock(const char* eol = "\r\n") {
    std::string block = std::string(eol) + eol + "var arrDateA=new Array()" + eol + "a=arrDateA" + eol;
    for (int n = 1; n <= kMatchdays; ++n)
        block += "a[" + std::to_string(n) + "]=new Date(\"2019-08-24T18:00:00\")" + eol;
    return block;
}

inline std::string Utf16(std::string_view utf8, TextEncoding encoding) {
    return EncodeText(utf8, encoding);
}

class SerieAExportTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return dir / "js" / "fcmSerieADati.js"; }
    std::string Export(const Orari& orari) {
        EsportaOrariSerieA(orari, PathText(dir.path()), log);
        return ReadBytes(File());
    }

    TempDir dir;
    MemoryLogSink sink;
    Log log{sink};
};

struct ReplacementCase {
    const char* name;
    std::string before;
    std::string after;  // without the new block
};

// FCM's file as a run may find it, and what of it stays before the new block.
inline std::vector<ReplacementCase> ReplacementCases() {
    const std::string fcm =
        "// Dati Serie A\r\nvar arrSquadreA=new Array()\r\narrSquadreA[1]=\"Atalanta\"\r\n";
    return {
        {"first run", fcm, fcm},
        {"earlier block", fcm + OldBlock(), fcm},
        {"lines after the earlier block go with it", fcm + OldBlock() + "var dopo=1\r\n\r\n", fcm},
        {"blank lines above the marker go, content stays", fcm + "\r\n  \r\n\t\r\n" + OldBlock(), fcm},
        {"only blank lines and a block", "\r\n \r\n\t\r\n" + OldBlock(), ""},
        {"empty file", "", ""},
        {"marker with other spacing", fcm + "var arrDateA = new Array()\r\na=arrDateA\r\n",
         fcm + "var arrDateA = new Array()\r\na=arrDateA\r\n"},
        {"marker in other case", fcm + "var ARRDATEA=new Array()\r\n", fcm + "var ARRDATEA=new Array()\r\n"},
        {"marker with a trailing blank", fcm + "var arrDateA=new Array() \r\n",
         fcm + "var arrDateA=new Array() \r\n"},
        {"line feeds only", "// Dati\nvar x=1\n" + OldBlock("\n"), "// Dati\r\nvar x=1\r\n"},
        {"carriage returns only", "// Dati\rvar x=1\r", "// Dati\r\nvar x=1\r\n"},
        {"no final line break", "// Dati\r\nvar x=1", "// Dati\r\nvar x=1\r\n"},
        {"ANSI bytes kept as they are", "// Societ\xE0 \x80 \x81\x8D\x8F\x90\x9D\r\n" + OldBlock(),
         "// Societ\xE0 \x80 \x81\x8D\x8F\x90\x9D\r\n"},
        {"UTF-8 byte-order mark kept", "\xEF\xBB\xBF// Societ\xC3\xA0\r\n" + OldBlock(),
         "\xEF\xBB\xBF// Societ\xC3\xA0\r\n"},
    };
}

}  // namespace calvorin::test
