// SPDX-License-Identifier: GPL-3.0-or-later
// Times loading an FCM.ini with 80,000 extra sections, and the program's lookups, against Python's
// configparser.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fs/Files.h"
#include "platform/text/Encoding.h"
#include "settings/IniFile.h"
#include "support/CpuTime.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using namespace calvorin;

constexpr int kExtraSections = 80000;
constexpr int kDefaultRuns = 5;

// The keys the program reads from the first section: the two host folders and the colour thresholds.
std::vector<std::string> ProgramKeys() {
    std::vector<std::string> keys = {"BackupCartella", "EsportazioniLegaCartella"};
    for (const char* group : {"", "MV", "FM"})
        for (const char* color : {"AzzurroSeMaggioreDi", "VerdeSeMaggioreDi", "RossoSeMinoreDi"})
            for (const char* role : {"Port", "Dife", "Cent", "Atta"})
                keys.push_back(std::string(group) + color + role);
    return keys;
}

// FCM's first section as a user's file has it, then the extra sections of one short key each.
std::string GeneratedFcmIni() {
    std::vector<std::string> lines = {"[Generale]", "BackupCartella=C:\\FCM\\Backup",
                                      "EsportazioniLegaCartella=C:\\FCM\\Esportazioni"};
    for (const std::string& key : ProgramKeys())
        if (key.find("SeMaggioreDi") != std::string::npos) lines.push_back(key + "=6,5");
    lines.emplace_back();
    for (int i = 0; i < kExtraSections; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "[S%05d]", i);
        lines.emplace_back(name);
        lines.emplace_back("A=1");
    }
    return Utf8ToCp1252(JoinCrlf(lines));
}

double CpuMilliseconds() {
    return calvorin::test::ProcessCpuSeconds() * 1e3;
}

struct Reading {
    double milliseconds = 0;
    std::size_t sections = 0;
    std::size_t keysFound = 0;
};

// Best of `runs` in process CPU time: the machine is shared, and the best run is the least disturbed one.
Reading TimeIniFile(const fs::path& file, const std::vector<std::string>& keys, int runs) {
    Reading best{1e300, 0, 0};
    for (int run = 0; run < runs; ++run) {
        const double start = CpuMilliseconds();
        const IniFile ini = IniFile::Load(file);
        const std::vector<std::string> sections = ini.Sections();
        std::size_t found = 0;
        for (const std::string& key : keys) found += ini.ReadValue(sections.front(), key).has_value();
        const double elapsed = CpuMilliseconds() - start;
        best = {std::min(best.milliseconds, elapsed), sections.size(), found};
    }
    return best;
}

// The same reading with configparser in a child python3, which times itself the same way.
Reading TimeConfigParser(const fs::path& file, const std::vector<std::string>& keys, int runs) {
    std::string keyList;
    for (const std::string& key : keys) keyList += "'" + key + "',";
    const std::string script =
        "import configparser, time\n"
        "best = 1e300\n"
        "for _ in range(" +
        std::to_string(runs) +
        "):\n"
        "    start = time.process_time()\n"
        "    cp = configparser.ConfigParser(strict=False, interpolation=None)\n"
        "    cp.read('" +
        file.string() +
        "', encoding='cp1252')\n"
        "    first = cp.sections()[0]\n"
        "    found = sum(cp.get(first, k, fallback=None) is not None for k in [" +
        keyList +
        "])\n"
        "    best = min(best, (time.process_time() - start) * 1000)\n"
        "print(best, len(cp.sections()), found)\n";
    const std::string command = "python3 -c \"" + script + "\"";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) throw std::runtime_error("python3 could not be started");
    Reading reading;
    if (std::fscanf(pipe.get(), "%lf %zu %zu", &reading.milliseconds, &reading.sections,
                    &reading.keysFound) != 3)
        throw std::runtime_error("python3 gave no timing");
    return reading;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 100) : kDefaultRuns;
    const calvorin::test::TempDir folder;
    const fs::path file = folder / "FCM.ini";
    WriteFileAtomic(file, GeneratedFcmIni());
    const std::vector<std::string> keys = ProgramKeys();

    const Reading ours = TimeIniFile(file, keys, runs);
    const Reading peer = TimeConfigParser(file, keys, runs);
    if (ours.sections != peer.sections || ours.keysFound != peer.keysFound) {
        std::fprintf(stderr, "readings differ: %zu sections and %zu keys, configparser %zu and %zu\n",
                     ours.sections, ours.keysFound, peer.sections, peer.keysFound);
        return 1;
    }
    std::printf("FCM.ini: %d extra sections, %.2f MB, %zu sections, %zu of %zu keys found; best of %d\n",
                kExtraSections, static_cast<double>(fs::file_size(file)) / 1e6, ours.sections, ours.keysFound,
                keys.size(), runs);
    std::printf("IniFile::Load + lookups:           %9.1f ms\n", ours.milliseconds);
    std::printf("configparser.read + lookups:       %9.1f ms\n", peer.milliseconds);
    std::printf("ratio IniFile / configparser:      %9.3f  (configparser takes %.1fx as long)\n",
                ours.milliseconds / peer.milliseconds, peer.milliseconds / ours.milliseconds);
    return 0;
}
