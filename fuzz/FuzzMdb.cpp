// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes opened as a league file either fail with the database's own error or copy into rows that read.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/Database.h"

namespace {

// The reader opens files by path: each process writes its inputs to one file of its own, under a random
// name, removed at exit.
class ScratchFile {
  public:
    ScratchFile()
        : path_(std::filesystem::temp_directory_path() /
                ("calvorin-fuzz-mdb-" + std::to_string(std::random_device{}()) + ".mdb")) {}
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    const std::filesystem::path& Write(const std::uint8_t* data, std::size_t size) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out.flush()) std::abort();
        return path_;
    }

  private:
    std::filesystem::path path_;
};

// Reads every field of every copied table in each of the four ways the generator reads them.
void ReadEverything(calvorin::Database& db) {
    std::vector<std::string> tables;
    calvorin::Query names = db.Prepare("SELECT name FROM sqlite_master WHERE type = 'table'");
    while (names.Next()) tables.push_back(names.Text(0));
    for (const std::string& table : tables) {
        std::string quoted = "\"";
        for (char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        calvorin::Query rows = db.Prepare("SELECT * FROM " + quoted + "\"");
        while (rows.Next())
            for (int i = 0; i < rows.ColumnCount(); ++i) {
                rows.Integer(i);
                rows.Float(i);
                rows.Text(i);
                rows.Flag(i);
            }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile file;
    const std::filesystem::path& path = file.Write(data, size);
    try {
        calvorin::Database db = calvorin::Database::Open(path);
        ReadEverything(db);
    } catch (const std::runtime_error&) {
        // A damaged file must end here: any other exception escapes and is reported as a fault.
    }
    return 0;
}
