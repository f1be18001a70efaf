// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP reader on archives that 7z made.
#include <gtest/gtest.h>

#include <string>

#include "ArchiveTestSupport.h"
#include "support/Command.h"
#include "support/TempDir.h"
#include "support/zip/ZipReader.h"

namespace calvorin {
namespace {

using test::RunCommand;
using test::ShellQuote;

TEST(ZipReaderPeers, ReadsArchivesOf7zStoredAndDeflated) {
    test::TempDir dir_;
    if (!test::HaveProgram("7z")) GTEST_SKIP() << "7z is not installed";
    const std::string text = test::SampleText(20000);
    test::WriteBytes(dir_ / "in" / "dati.txt", text);
    for (const char* level : {"-mx=0", "-mx=5"}) {
        SCOPED_TRACE(level);
        auto archive = dir_ / (std::string("7z") + level + ".zip");
        auto made =
            RunCommand("cd " + ShellQuote((dir_ / "in").string()) + " && 7z a -tzip -mem=ZipCrypto -ppw " +
                       level + " " + ShellQuote(archive.string()) + " dati.txt");
        ASSERT_EQ(made.exitCode, 0) << made.output;
        FileByteSource source(archive);
        ZipReader reader(source, "pw");
        ASSERT_EQ(reader.Entries().size(), 1u);
        EXPECT_EQ(reader.Entries()[0].name, "dati.txt");
        EXPECT_EQ(reader.ExtractToString(reader.Entries()[0]), text);
    }
}

}  // namespace
}  // namespace calvorin
