// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP writer: header bytes, refusals, and archives read back by the program's own reader.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "EncryptedZipFileFixture.h"
#include "archives/ZipErrors.h"

namespace calvorin {
namespace {

using test::Crc;
using test::DeflatedSize;
using test::EncryptedZipFileTest;
using test::Le16At;
using test::Le32At;
using test::SampleFiles;
using test::SourceFile;

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

TEST_F(EncryptedZipFileTest, EveryEntryReadsBackWithItsNameOnEveryThreadCount) {
    std::vector<SourceFile> files = SampleFiles();
    files.push_back({"stagione.txt", test::SampleText(5 * ParallelDeflater::kBlockSize + 333)});
    for (unsigned threads : {1u, 2u, 4u}) {
        SCOPED_TRACE(threads);
        for (const char* password : {"", "Pa55 word", "pässwörd€"})
            EXPECT_EQ(ReadBack(MakeArchive(password, files, threads), password), files) << password;
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
    EXPECT_EQ(ReadBack(dir_ / "archive.zip", "pw"), (std::vector<SourceFile>{{"vuoto.bin", ""}}));
}

TEST_F(EncryptedZipFileTest, ArchiveWithoutEntriesIsAValidEmptyZip) {
    auto archive = MakeArchive("pw", {});
    EXPECT_EQ(test::ReadBytes(archive).size(), 22u);
    EXPECT_TRUE(ReadBack(archive, "pw").empty());
}

TEST_F(EncryptedZipFileTest, KeepsModificationTimeAndReadOnlyAttribute) {
    auto path = Write({"sola-lettura.txt", "x"});
    test::MakeReadOnlyWithTime(path);
    auto archive = dir_ / "archive.zip";
    {
        TEncryptedZipFile zip("");
        zip.Open(archive);
        zip.Add(path, "sola-lettura.txt");
    }  // closed by the destructor
    FileByteSource source(archive);
    ZipReader reader(source, "");
    ASSERT_EQ(reader.Entries().size(), 1u);
    const ZipEntryHeader& entry = reader.Entries()[0];
    EXPECT_EQ(entry.dosDate, ((2024 - 1980) << 9) | (3 << 5) | 5);
    EXPECT_EQ(entry.dosTime, (14 << 11) | (27 << 5) | (38 / 2));
    EXPECT_EQ(entry.externalAttributes, 0x21u);  // archive + read-only
    EXPECT_EQ(entry.flags, 0x800);
}

TEST_F(EncryptedZipFileTest, FileOf4GiBIsRefusedAndTheArchiveStaysValid) {
    auto big = dir_ / "grande.bin";
    {
        test::WriteBytes(big, "");
        std::filesystem::resize_file(big, 0x100000000LL);  // sparse: no disk space used
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
    EXPECT_EQ(ReadBack(archive, "pw"), (std::vector<SourceFile>{{"prima.txt", "uno"}, {"dopo.txt", "due"}}));
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
    EXPECT_EQ(ReadBack(archive, "pw"), (std::vector<SourceFile>{{"uno.txt", "1"}}));
}

}  // namespace
}  // namespace calvorin
