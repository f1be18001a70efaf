// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP writer: header bytes, and archives checked by unzip, 7z and Python's zipfile.
#include "archives/EncryptedZipFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "ArchiveTestSupport.h"
#include "archives/ZipErrors.h"
#include "platform/crypto/Random.h"
#include "support/TempDir.h"
#include "support/zip/ZipReader.h"

namespace calvorin {
namespace {

using test::Le16At;
using test::Le32At;
using test::RunCommand;
using test::ShellQuote;

struct SourceFile {
    std::string name;
    std::string content;
};

std::uint32_t Crc(std::string_view data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::size_t DeflatedSize(std::string_view data) {
    return test::Deflated(data).size();
}

class EncryptedZipFileTest : public ::testing::Test {
  protected:
    std::filesystem::path Write(const SourceFile& file) {
        auto path = dir_ / "src" / file.name;
        test::WriteBytes(path, file.content);
        return path;
    }

    std::filesystem::path MakeArchive(const std::string& password, const std::vector<SourceFile>& files,
                                      unsigned threads = 0) {
        auto archive = dir_ / "archive.zip";
        TEncryptedZipFile zip(password);
        zip.SetThreads(threads);
        zip.Open(archive);
        for (const SourceFile& file : files) zip.Add(Write(file), file.name);
        zip.Close();
        return archive;
    }

    std::string Peer(const std::string& args) {
        auto result = RunCommand("python3 " + ShellQuote(CALVORIN_SOURCE_DIR "/tests/archives/zip_peer.py") +
                                 " " + args);
        EXPECT_EQ(result.exitCode, 0) << result.output;
        return result.output;
    }

    test::TempDir dir_;
};

const std::vector<SourceFile>& SampleFiles() {
    static const std::vector<SourceFile> files = {
        {"dati.txt", test::SampleText(200000)},
        {"vuoto.bin", ""},
        {"casuale.bin", RandomBytes(70000)},
        {"Società è più.txt", "contenuto con accenti: àèìòù"},
    };
    return files;
}

TEST_F(EncryptedZipFileTest, HeadersFollowTheLayoutWithAndWithoutPassword) {
    const SourceFile file{"dati.txt", test::SampleText(50000)};
    struct Case {
        const char* password;
        std::uint16_t flags;
        std::size_t encryptionHeader;
    } cases[] = {{"", 0x0800, 0}, {"pw", 0x0801, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        std::string zip = test::ReadBytes(MakeArchive(c.password, {file}));
        const std::size_t dataSize = Le32At(zip, 18);
        const std::size_t central = 30 + file.name.size() + dataSize;
        ASSERT_EQ(Le32At(zip, 0), 0x04034B50u);
        EXPECT_EQ(Le16At(zip, 4), 20);  // version needed
        EXPECT_EQ(Le16At(zip, 6), c.flags);
        EXPECT_EQ(Le16At(zip, 8), 8);  // deflate
        EXPECT_EQ(Le32At(zip, 14), Crc(file.content));
        EXPECT_EQ(dataSize, DeflatedSize(file.content) + c.encryptionHeader);
        EXPECT_EQ(Le32At(zip, 22), file.content.size());
        EXPECT_EQ(zip.substr(30, file.name.size()), file.name);
        ASSERT_EQ(Le32At(zip, central), 0x02014B50u);
        EXPECT_EQ(Le16At(zip, central + 4), 20);  // version made by: 2.0, MS-DOS
        EXPECT_EQ(Le16At(zip, central + 6), 20);
        EXPECT_EQ(Le16At(zip, central + 8), c.flags);
        EXPECT_EQ(Le32At(zip, central + 16), Crc(file.content));
        EXPECT_EQ(Le32At(zip, central + 20), dataSize);
        EXPECT_EQ(Le32At(zip, central + 42), 0u);  // local header offset
        const std::size_t end = central + 46 + file.name.size();
        ASSERT_EQ(zip.size(), end + 22);
        EXPECT_EQ(Le32At(zip, end), 0x06054B50u);
        EXPECT_EQ(Le16At(zip, end + 10), 1);
        EXPECT_EQ(Le32At(zip, end + 16), central);
    }
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

TEST_F(EncryptedZipFileTest, OneThreadWritesZlibsOwnStream) {
    const std::string text = test::SampleText(5 * ParallelDeflater::kBlockSize);
    // Only the entry's data is compared: rewriting the source may move its time stamp in the header.
    const auto entryData = [&] {
        const std::string zip = test::ReadBytes(MakeArchive("", {{"stagione.txt", text}}, 1));
        const std::size_t nameLength = Le16At(zip, 26), extraLength = Le16At(zip, 28);
        return zip.substr(30 + nameLength + extraLength, Le32At(zip, 18));
    };
    const std::string data = entryData();
    EXPECT_EQ(data.size(), DeflatedSize(text));
    EXPECT_EQ(data, test::Deflated(text));
    EXPECT_EQ(entryData(), data) << "the same bytes again";
}

TEST_F(EncryptedZipFileTest, EmptyFileGivesHeaderAndEmptyDeflateStream) {
    std::string zip = test::ReadBytes(MakeArchive("pw", {{"vuoto.bin", ""}}));
    EXPECT_EQ(Le32At(zip, 14), 0u);                      // CRC-32 of nothing
    EXPECT_EQ(Le32At(zip, 18), 12u + DeflatedSize(""));  // encryption header + empty final block
    EXPECT_EQ(Le32At(zip, 22), 0u);
    EXPECT_EQ(Peer("cat " + ShellQuote((dir_ / "archive.zip").string()) + " pw vuoto.bin"), "");
}

TEST_F(EncryptedZipFileTest, ArchiveWithoutEntriesIsAValidEmptyZip) {
    auto archive = MakeArchive("pw", {});
    EXPECT_EQ(test::ReadBytes(archive).size(), 22u);
    EXPECT_EQ(Peer("names " + ShellQuote(archive.string())), "");
    if (test::HaveProgram("7z")) {
        EXPECT_EQ(RunCommand("7z t " + ShellQuote(archive.string())).exitCode, 0);
    }
}

TEST_F(EncryptedZipFileTest, KeepsModificationTimeAndReadOnlyAttribute) {
    auto path = Write({"sola-lettura.txt", "x"});
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 14;
    local.tm_min = 27;
    local.tm_sec = 39;  // DOS time has two-second steps: read back as 38
    local.tm_isdst = -1;
    struct timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    auto archive = dir_ / "archive.zip";
    {
        TEncryptedZipFile zip("");
        zip.Open(archive);
        zip.Add(path, "sola-lettura.txt");
    }  // closed by the destructor
    EXPECT_EQ(Peer("info " + ShellQuote(archive.string()) + " sola-lettura.txt"),
              "(2024, 3, 5, 14, 27, 38) 0x21 0x800\n");  // archive + read-only
}

TEST_F(EncryptedZipFileTest, FileOf4GiBIsRefusedAndTheArchiveStaysValid) {
    auto big = dir_ / "grande.bin";
    {
        test::WriteBytes(big, "");
        ASSERT_EQ(::truncate(big.c_str(), 0x100000000LL), 0);  // sparse: no disk space used
    }
    auto archive = dir_ / "archive.zip";
    TEncryptedZipFile zip("pw");
    zip.Open(archive);
    zip.Add(Write({"prima.txt", "uno"}), "prima.txt");
    try {
        zip.Add(big, "grande.bin");
        FAIL() << "a 4 GiB file was accepted";
    } catch (const EZipException& error) {
        EXPECT_NE(std::string(error.what()).find("4 GiB"), std::string::npos) << error.what();
    }
    zip.Add(Write({"dopo.txt", "due"}), "dopo.txt");
    zip.Close();
    EXPECT_EQ(Peer("test " + ShellQuote(archive.string()) + " pw"), "");
    EXPECT_EQ(Peer("names " + ShellQuote(archive.string())), "prima.txt\ndopo.txt\n");
}

TEST_F(EncryptedZipFileTest, EntriesBeyondTheFormatsCountAreRefused) {
    auto empty = Write({"e", ""});
    auto archive = dir_ / "archive.zip";
    TEncryptedZipFile zip("");
    zip.Open(archive);
    for (int i = 0; i < 65534; ++i) zip.Add(empty, "e" + std::to_string(i));
    EXPECT_THROW(zip.Add(empty, "one-too-many"), EZipException);
    zip.Close();
    FileByteSource source(archive);
    EXPECT_EQ(ZipReader(source, "").Entries().size(), 65534u);
}

TEST_F(EncryptedZipFileTest, MisuseRaisesInvalidOperation) {
    TEncryptedZipFile zip("pw");
    try {
        zip.Add(Write({"a.txt", "a"}), "a.txt");
        FAIL() << "added to an archive that is not open";
    } catch (const EZipInvalidOperation& error) {
        EXPECT_STREQ(error.what(), "Invalid Stream operation!");
    }
    zip.Open(dir_ / "archive.zip");
    EXPECT_THROW(zip.Open(dir_ / "other.zip"), EZipInvalidOperation);
}

TEST_F(EncryptedZipFileTest, UnreadableSourceFailsWithoutSpoilingTheArchive) {
    auto archive = dir_ / "archive.zip";
    {
        TEncryptedZipFile zip("pw");
        zip.Open(archive);
        zip.Add(Write({"uno.txt", "1"}), "uno.txt");
        EXPECT_THROW(zip.Add(dir_ / "manca.txt", "manca.txt"), std::runtime_error);
        std::filesystem::create_directory(dir_ / "cartella");
        EXPECT_THROW(zip.Add(dir_ / "cartella", "cartella"), std::runtime_error);
    }
    EXPECT_EQ(Peer("names " + ShellQuote(archive.string())), "uno.txt\n");
    EXPECT_EQ(Peer("test " + ShellQuote(archive.string()) + " pw"), "");
}

}  // namespace
}  // namespace calvorin
