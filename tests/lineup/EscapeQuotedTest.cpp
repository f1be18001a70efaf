// SPDX-License-Identifier: GPL-3.0-or-later
// Quoting of texts for PHP single-quoted and JavaScript double-quoted strings.
#include "lineup/EscapeQuoted.h"

#include <gtest/gtest.h>

namespace calvorin {
namespace {

TEST(EscapeQuoted, PutsABackslashBeforeTheQuoteAndBackslashesOnly) {
    struct Case {
        std::string_view text;
        char quote;
        std::string_view expected;
    };
    const Case cases[] = {
        {"", '\'', ""},
        {"plain", '\'', "plain"},
        {"dell'Ultimo", '\'', "dell\\'Ultimo"},
        {"C:\\path\\", '\'', "C:\\\\path\\\\"},
        {"\\'", '\'', "\\\\\\'"},
        {"say \"hi\"", '\'', "say \"hi\""},
        {"say \"hi\"", '"', "say \\\"hi\\\""},
        {"it's", '"', "it's"},
        {"?> </script> Città", '\'', "?> </script> Città"},
        {"line\nbreak", '\'', "line\nbreak"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EscapeQuoted(c.text, c.quote), c.expected);
    }
}

TEST(EscapeJsString, KeepsControlCharactersOutOfTheLiteral) {
    struct Case {
        std::string_view text;
        std::string_view expected;
    };
    const Case cases[] = {
        {"invform/invform.php", "invform/invform.php"},
        {"a\"b\\c", "a\\\"b\\\\c"},
        {"one\ntwo\rthree\tfour", "one\\ntwo\\rthree\\tfour"},
        {std::string_view("nul\0x\x1f\x7f", 7), "nul\\x00x\\x1F\\x7F"},
        {"</script>", "</script>"},
        {"Città", "Città"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EscapeJsString(c.text), c.expected);
    }
}

}  // namespace
}  // namespace calvorin
