// SPDX-License-Identifier: GPL-3.0-or-later
// A folder of its own for each test, removed at the end.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/PathText.h"

namespace calvorin::test {

class TempDir {
  public:
    // A new folder with a random name in the system's temporary folder: a name taken by another test
    // running at the same time is never reused, since creating the folder tells whether it was there.
    TempDir() {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = "calvorin-test-";
            for (int i = 0; i < 12; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
            if (std::filesystem::create_directory(base / name)) {
                path_ = base / name;
                return;
            }
        }
        throw std::runtime_error("no new temporary folder in " + PathText(base));
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // A name below the folder, in UTF-8.
    std::filesystem::path operator/(std::string_view name) const { return path_ / Utf8Path(name); }

  private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating its folder.
inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names in a folder as UTF-8, sorted.
inline std::vector<std::string> SortedNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(PathText(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// Reads a whole file, or "" when it is missing.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace calvorin::test
