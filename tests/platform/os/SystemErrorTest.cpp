// SPDX-License-Identifier: GPL-3.0-or-later
// The user's words for a system failure: Italian and the same on Linux and Windows for the common ones.
#include "platform/os/SystemError.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/fs/Files.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

TEST(SystemError, CommonReasonsReadTheSameInItalianOnEverySystem) {
    struct Case {
        ErrorKind kind;
        const char* text;
    } cases[] = {
        {ErrorKind::NotFound, "file o cartella inesistente"},
        {ErrorKind::AlreadyExists, "esiste già"},
        {ErrorKind::Busy, "file in uso da un altro programma"},
        {ErrorKind::DiskFull, "spazio su disco esaurito"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SystemErrorText(SystemErrorOf(c.kind)), c.text);
    }
    // Any other failure keeps the system's own words, in parentheses after its number.
    const SystemError other = SystemErrorOf(ErrorKind::Other);
    EXPECT_EQ(KindOf(other), ErrorKind::Other);
    EXPECT_EQ(SystemErrorText(other),
              "errore di sistema " + std::to_string(other.code) + " (" + RawSystemErrorText(other) + ")");
    EXPECT_FALSE(RawSystemErrorText(other).empty());
}

// What a president reads when FCM's file is not where it should be: the same words on both systems.
TEST(SystemError, AMissingFileIsSaidInItalianInTheMessage) {
    test::TempDir dir;
    const auto missing = dir / "fcmSerieADati.js";
    try {
        ReadFileBytes(missing);
        ADD_FAILURE() << "a missing file was read";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Impossibile aprire il file \"" + PathText(missing) + "\": file o cartella inesistente");
    }
}

}  // namespace
}  // namespace calvorin
