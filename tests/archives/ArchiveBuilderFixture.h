// SPDX-License-Identifier: GPL-3.0-or-later
// The archive builder's fixture: an FCM backup folder, an export file and a site, made here for each test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "archives/ArchiveBuilder.h"
#include "support/TempDir.h"
#include "support/zip/ZipReader.h"

namespace calvorin::test {

namespace fs = std::filesystem;

using Names = std::set<std::string>;

class ArchiveBuilderTest : public ::testing::Test {
  public:
    void SetUp() override {
        fs::create_directories(site_);
        for (const char* name : {"MiaLega.mdb", "MiaLega_copia.ini", "ArchivioA2024.mdb", "ArchivioA2023.mdb",
                                 "Altro.txt", ".nascosto", "senza_estensione"}) {
            test::WriteBytes(backup_ / name, std::string("contenuto di ") + name);
        }
        test::WriteBytes(backup_ / "sottocartella" / "MiaLega_interno.mdb", "non va archiviato");
        test::WriteBytes(exportFile_, "esportazione");
        context_.SiteFolder = PathText(site_);
        context_.LeagueBaseName = "MiaLega";
        context_.SeasonYear = 2024;
        options_.backupFolder = "  " + PathText(backup_) + " ";  // the builder trims
        options_.exportFile = PathText(exportFile_);
        options_.password = "pw";
    }

    bool Run() {
        Log log(sink_);
        return BuildArchives(options_, context_, log);
    }

    // Names in backup/ of the site, sorted.
    std::vector<std::string> DestinationNames() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(destination_))
            names.push_back(PathText(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

    struct Archive {
        Names entries;
        bool encrypted = false;
    };

    // Reads an archive back, every entry checked against its source file.
    Archive ReadArchive(const fs::path& path, const fs::path& sourceFolder, const std::string& password) {
        FileByteSource source(path);
        ZipReader reader(source, password);
        Archive archive;
        for (const ZipEntryHeader& entry : reader.Entries()) {
            archive.entries.insert(entry.name);
            archive.encrypted = entry.Encrypted();
            EXPECT_EQ(reader.ExtractToString(entry), test::ReadBytes(sourceFolder / Utf8Path(entry.name)))
                << entry.name;
        }
        return archive;
    }

    test::TempDir dir_;
    fs::path site_ = dir_ / "sito";
    fs::path destination_ = site_ / "backup";
    fs::path backup_ = dir_ / "FCM" / "backup" / "FCMBKP_2024-03-01";
    fs::path exportFile_ = dir_ / "FCM" / "export" / "MiaLega.exp";
    PluginContext context_;
    ArchiveOptions options_;
    MemoryLogSink sink_;
};

}  // namespace calvorin::test
