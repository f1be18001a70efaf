// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugin/log/Format.h"

#include <gtest/gtest.h>

namespace calvorin {

TEST(Format, ConversionsTheProgramUses) {
    EXPECT_EQ(Format("%s: aggiornati %d orari", {"OK", 12}), "OK: aggiornati 12 orari");
    EXPECT_EQ(Format("%u%%", {7u}), "7%");
    EXPECT_EQ(Format("%d", {-5}), "-5");
}

TEST(Format, HostileFormatTextsNeverReadPastTheArguments) {
    EXPECT_EQ(Format("%s %s %n %x", {"a"}), "a %s %n %x");
    EXPECT_EQ(Format("100%", {}), "100%");
    EXPECT_EQ(Format("%d", {"text"}), "0");
}

}  // namespace calvorin
