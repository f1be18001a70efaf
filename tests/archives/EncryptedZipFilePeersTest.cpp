// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP writer's archives checked by unzip, 7z and Python's zipfile.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "EncryptedZipFileFixture.h"
#include "archives/ZipErrors.h"
#include "support/Command.h"

namespace calvorin {
namespace {

using test::EncryptedZipFileTest;
using test::RunCommand;
using test::SampleFiles;
using test::ShellQuote;
using test::SourceFile;

// What zip_peer.py prints for the arguments; a failure of the script fails the test.
std::string Peer(const std::string& args) {
    auto result =
        RunCommand("python3 " + ShellQuote(CALVORIN_SOURCE_DIR "/tests/archives/zip_peer.py") + " " + args);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}

struct PeerCheck {
    std::string right, wrong;
};

// Commands that test every entry of `zip` with the password and with a wrong one.
std::vector<PeerCheck> PeerChecks(const std::string& zip, const std::string& password, bool withSevenZip) {
    const std::string peer = "python3 " + ShellQuote(CALVORIN_SOURCE_DIR "/tests/archives/zip_peer.py");
    std::vector<PeerCheck> checks = {
        // unzip takes the password's bytes as given: pass them in Windows-1252, as the keys were made.
        {"unzip -t -P \"$(printf %s " + ShellQuote(password) + " | iconv -f UTF-8 -t CP1252)\" " + zip,
         "unzip -t -P wrong " + zip},
        {peer + " test " + zip + " " + ShellQuote(password), peer + " test " + zip + " wrong"},
    };
    if (withSevenZip) checks.push_back({"7z t -p" + ShellQuote(password) + " " + zip, "7z t -pwrong " + zip});
    return checks;
}

TEST_F(EncryptedZipFileTest, PeerToolsAcceptTheRightPasswordAndRejectAWrongOne) {
    for (const char* tool : {"unzip", "7z", "python3", "iconv"}) {
        if (!test::HaveProgram(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    // 7z derives the keys from the UTF-8 bytes of a password, so only an ASCII one opens with it.
    struct Case {
        const char* password;
        bool withSevenZip;
    } cases[] = {{"Pa55 word", true}, {"pässwörd€", false}};
    for (const Case& c : cases) {
        const std::string zip = ShellQuote(MakeArchive(c.password, SampleFiles()).string());
        for (const PeerCheck& check : PeerChecks(zip, c.password, c.withSevenZip)) {
            SCOPED_TRACE(check.right);
            auto right = RunCommand(check.right);
            EXPECT_EQ(right.exitCode, 0) << right.output;
            EXPECT_NE(RunCommand(check.wrong).exitCode, 0);
        }
    }
}

TEST_F(EncryptedZipFileTest, PeersExtractTheSameContentsAndUtf8Names) {
    if (!test::HaveProgram("python3") || !test::HaveProgram("7z")) GTEST_SKIP() << "python3 or 7z missing";
    const std::string zip = ShellQuote(MakeArchive("pw", SampleFiles()).string());
    std::string expectedNames;
    for (const SourceFile& file : SampleFiles()) expectedNames += file.name + "\n";
    EXPECT_EQ(Peer("names " + zip), expectedNames);
    for (const SourceFile& file : SampleFiles()) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(Peer("cat " + zip + " pw " + ShellQuote(file.name)), file.content);
        auto fromSevenZip = RunCommand("7z e -so -ppw " + zip + " " + ShellQuote(file.name) + " 2>/dev/null");
        EXPECT_EQ(fromSevenZip.output, file.content);
    }
}

TEST_F(EncryptedZipFileTest, LargeEntriesDeflatedOnSeveralThreadsOpenInEveryPeer) {
    const std::vector<SourceFile> files = {
        {"stagione.txt", test::SampleText(5 * ParallelDeflater::kBlockSize + 333)},
        {"casuale.bin", RandomBytes(3 * ParallelDeflater::kBlockSize)},
        {"piccolo.txt", "un file piccolo"},
    };
    for (unsigned threads : {2u, 4u}) {
        SCOPED_TRACE(threads);
        const std::string zip = ShellQuote(MakeArchive("Pa55 word", files, threads).string());
        for (const PeerCheck& check : PeerChecks(zip, "Pa55 word", true)) {
            auto right = RunCommand(check.right);
            EXPECT_EQ(right.exitCode, 0) << check.right << "\n" << right.output;
        }
        for (const SourceFile& file : files) {
            EXPECT_EQ(Peer("cat " + zip + " 'Pa55 word' " + ShellQuote(file.name)), file.content)
                << file.name;
        }
    }
}

// The python peer reads the archives of the edge cases too: an empty file, no entry at all, a kept time and
// read-only attribute, and the entries around a refused 4 GiB file.
TEST_F(EncryptedZipFileTest, PythonReadsTheArchivesOfEdgeCases) {
    if (!test::HaveProgram("python3")) GTEST_SKIP() << "python3 is not installed";
    const std::string empty = ShellQuote(MakeArchive("pw", {{"vuoto.bin", ""}}));
    EXPECT_EQ(Peer("cat " + empty + " pw vuoto.bin"), "");
    const auto none = dir_ / "vuoto.zip";
    {
        TEncryptedZipFile zip("pw");
        zip.Open(none);
    }
    EXPECT_EQ(Peer("names " + ShellQuote(none)), "");
    if (test::HaveProgram("7z")) {
        EXPECT_EQ(RunCommand("7z t " + ShellQuote(none)).exitCode, 0);
    }

    auto path = Write({"sola-lettura.txt", "x"});
    test::MakeReadOnlyWithTime(path);
    const auto attributes = dir_ / "attributi.zip";
    {
        TEncryptedZipFile zip("");
        zip.Open(attributes);
        zip.Add(path, "sola-lettura.txt");
    }
    EXPECT_EQ(Peer("info " + ShellQuote(attributes) + " sola-lettura.txt"),
              "(2024, 3, 5, 14, 27, 38) 0x21 0x800\n");  // archive + read-only

    auto big = dir_ / "grande.bin";
    test::WriteBytes(big, "");
    std::filesystem::resize_file(big, 0x100000000LL);  // sparse: no disk space used
    const auto refused = dir_ / "rifiutato.zip";
    {
        TEncryptedZipFile zip("pw");
        zip.Open(refused);
        zip.Add(Write({"prima.txt", "uno"}), "prima.txt");
        EXPECT_THROW(zip.Add(big, "grande.bin"), EZipException);
        EXPECT_THROW(zip.Add(dir_ / "manca.txt", "manca.txt"), std::runtime_error);
        zip.Add(Write({"dopo.txt", "due"}), "dopo.txt");
    }
    EXPECT_EQ(Peer("test " + ShellQuote(refused) + " pw"), "");
    EXPECT_EQ(Peer("names " + ShellQuote(refused)), "prima.txt\ndopo.txt\n");
}

}  // namespace
}  // namespace calvorin
