// SPDX-License-Identifier: GPL-3.0-or-later
// Packing benchmark: calvorin-pack on one thread and on every core against Info-ZIP zip, pigz (the parallel
// peer, same thread count), 7z and the bare zlib loop, plus peak memory; and the Windows build's
// calvorin-pack.exe under Wine beside them, when tools/build-windows.sh has built it.
//
// Each contender runs as a child process on the same files (generated once under /tmp and reused);
// wall time, CPU time (user + system) and peak resident memory are the system's account of the child.
// CPU time is the fairer figure on a shared machine. The generator works in 1 MiB pieces, so this
// harness stays small.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/posix/MeasuredRun.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = "/tmp/calvorin-archive-bench";
constexpr std::uint64_t kMiB = 1024 * 1024;

enum class Kind { Database, Text, Random };

// xorshift64*: fast and deterministic, so the data set is the same on every machine.
struct Rng {
    std::uint64_t state;
    std::uint64_t Next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 2685821657736338717ull;
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
};

const char* const kNames[] = {"Rossi",    "Bianchi", "Esposito", "Romano",  "Colombo",  "Ricci",   "Marino",
                              "Greco",    "Bruno",   "Gallo",    "Conti",   "De Luca",  "Mancini", "Costa",
                              "Giordano", "Rizzo",   "Lombardi", "Moretti", "Barbieri", "Fontana"};
const char* const kTeams[] = {"Atalanta", "Bologna", "Cagliari", "Empoli", "Fiorentina", "Genoa",  "Inter",
                              "Juventus", "Lazio",   "Lecce",    "Milan",  "Monza",      "Napoli", "Roma"};

// A 4 KiB page of a database-like file: header, fixed-size records, zero padding.
void FillDatabasePage(char* page, std::uint64_t pageNumber, Rng& rng) {
    std::fill(page, page + 4096, '\0');
    std::snprintf(page, 16, "PG%010llu", static_cast<unsigned long long>(pageNumber));
    for (int row = 0; row < 40; ++row) {
        char* record = page + 32 + row * 96;
        std::snprintf(record, 96, "%07u|%-12s|%-12s|%2u|%u.%u|%u|%u", rng.Below(9000000),
                      kNames[rng.Below(20)], kTeams[rng.Below(14)], rng.Below(38) + 1, rng.Below(7) + 3,
                      rng.Below(2) * 5, rng.Below(4), rng.Below(3));
    }
}

void FillText(std::string& out, std::size_t size, Rng& rng) {
    out.clear();
    char line[160];
    while (out.size() < size) {
        int n = std::snprintf(line, sizeof line, "Giornata %u;%s;%s;voto %u.%u;fantavoto %u.%u;gol %u\r\n",
                              rng.Below(38) + 1, kTeams[rng.Below(14)], kNames[rng.Below(20)],
                              rng.Below(7) + 3, rng.Below(10), rng.Below(9) + 2, rng.Below(10), rng.Below(3));
        out.append(line, static_cast<std::size_t>(n));
    }
    out.resize(size);
}

// Writes `size` bytes of the kind in 1 MiB pieces.
void Generate(const fs::path& path, std::uint64_t size, Kind kind, std::uint64_t seed) {
    std::ofstream out(path, std::ios::binary);
    Rng rng{seed * 0x9E3779B97F4A7C15ull + 1};
    std::string chunk;
    for (std::uint64_t written = 0, page = 0; written < size;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kMiB, size - written));
        if (kind == Kind::Text) {
            FillText(chunk, n, rng);
        } else {
            chunk.assign(kMiB, '\0');
            for (std::size_t at = 0; at < kMiB; at += 4096) {
                if (kind == Kind::Database) FillDatabasePage(chunk.data() + at, page++, rng);
                for (std::size_t i = 0; kind == Kind::Random && i < 4096; i += 8) {
                    std::uint64_t v = rng.Next();
                    std::copy_n(reinterpret_cast<const char*>(&v), 8, chunk.data() + at + i);
                }
            }
            chunk.resize(n);
        }
        out.write(chunk.data(), static_cast<std::streamsize>(n));
        written += n;
    }
}

struct FileSpec {
    std::string name;
    std::uint64_t size;
    Kind kind;
};

// About 300 MB: FCM-database-like files, text, one incompressible file, empty and tiny files.
std::vector<FileSpec> Set300() {
    std::vector<FileSpec> specs = {
        {"Lega2024.mdb", 90 * kMiB, Kind::Database},
        {"ArchivioA2024.mdb", 60 * kMiB, Kind::Database},
        {"ArchivioA2023.mdb", 40 * kMiB, Kind::Database},
        {"Statistiche.csv", 40 * kMiB, Kind::Text},
        {"Foto.jpg", 50 * kMiB, Kind::Random},
        {"Registro.log", 6 * kMiB, Kind::Text},
        {"vuoto1.dat", 0, Kind::Text},
        {"vuoto2.dat", 0, Kind::Text},
    };
    for (int i = 0; i < 40; ++i)
        specs.push_back({"piccolo" + std::to_string(i) + ".ini", 10u + 37u * i, Kind::Text});
    return specs;
}

// Generates the files unless a previous run completed them; returns their names.
std::vector<std::string> EnsureFiles(const fs::path& folder, const std::vector<FileSpec>& specs) {
    fs::path done = folder.string() + ".complete";
    std::vector<std::string> names;
    bool ready = fs::exists(done);
    if (!ready) {
        std::printf("generating %s ...\n", folder.c_str());
        std::fflush(stdout);
        fs::create_directories(folder);
    }
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (!ready) Generate(folder / specs[i].name, specs[i].size, specs[i].kind, i + 1);
        names.push_back(specs[i].name);
    }
    if (!ready) std::ofstream(done) << "ok\n";
    return names;
}

struct RunResult : calvorin::test::MeasuredRun {
    std::uint64_t outputBytes = 0;
};

RunResult Spawn(const std::vector<std::string>& args, const fs::path& cwd, const fs::path& output) {
    fs::remove(output);
    RunResult result;
    static_cast<calvorin::test::MeasuredRun&>(result) = calvorin::test::RunMeasured(args, cwd);
    std::error_code ec;
    result.outputBytes = fs::file_size(output, ec);
    return result;
}

// The Windows packer run under Wine in the tests' prefix, or nothing when it is not built.
std::vector<std::string> WindowsPack() {
    const fs::path exe = CALVORIN_WINDOWS_PACK_PATH;
    if (!fs::exists(exe)) return {};
    const std::string tools = CALVORIN_SOURCE_DIR "/tools/wine/";
    calvorin::test::RunMeasured({"bash", tools + "prefix.sh"}, fs::current_path());
    return {tools + "run.sh", exe.string()};
}

struct Contender {
    const char* label;
    std::vector<std::string> command;  // the output path and the file names are appended
    const char* outputName;
    RunResult best;
};

void Warm(const fs::path& folder, const std::vector<std::string>& names) {
    std::vector<char> buffer(kMiB);
    for (const std::string& name : names) {
        std::ifstream in(folder / name, std::ios::binary);
        while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
        }
    }
}

// pigz writes to standard output: a shell sends it to the output file.
std::vector<std::string> PigzCommand(unsigned threads, const fs::path& output) {
    return {"sh", "-c", "exec pigz -p " + std::to_string(threads) + " -6 -c \"$@\" > " + output.string(),
            "sh"};
}

void RunComparison(const std::string& pack, const fs::path& folder, const std::vector<std::string>& names,
                   std::uint64_t inputBytes, unsigned threads) {
    const std::string n = std::to_string(threads);
    std::vector<Contender> contenders = {
        {"calvorin-pack, 1 thread", {pack, "--threads", "1"}, "ours1.zip", {}},
        {"calvorin-pack, threads", {pack, "--threads", n}, "oursN.zip", {}},
        {"  the same, with progress", {pack, "--threads", n, "--progress"}, "oursP.zip", {}},
        {"bare zlib loop", {pack, "--bare"}, "bare.bin", {}},
        {"Info-ZIP zip -6 -P", {"zip", "-q", "-6", "-P", "pw"}, "infozip.zip", {}},
        {"pigz -p N -6", PigzCommand(threads, kRoot / "pigz.gz"), "pigz.gz", {}},
        {"7z -mx=5 ZipCrypto -mmt=1",
         {"7z", "a", "-tzip", "-mx=5", "-mem=ZipCrypto", "-mmt=1", "-ppw"},
         "7z.zip",
         {}},
    };
    const std::vector<std::string> windows = WindowsPack();
    const auto windowsCommand = [&](std::vector<std::string> options) {
        options.insert(options.begin(), windows.begin(), windows.end());
        return options;
    };
    if (!windows.empty()) {
        contenders.push_back(
            {"calvorin-pack.exe Wine, 1 thr", windowsCommand({"--threads", "1"}), "win1.zip", {}});
        contenders.push_back(
            {"calvorin-pack.exe Wine, thr", windowsCommand({"--threads", n}), "winN.zip", {}});
    }
    Warm(folder, names);
    for (int round = 0; round < 2; ++round) {
        for (Contender& c : contenders) {
            std::vector<std::string> args = c.command;
            fs::path output = kRoot / c.outputName;
            if (c.command.front() != "sh") args.push_back(output.string());
            const bool ours =
                c.command.front() == pack || (!windows.empty() && c.command.front() == windows.front());
            if (ours) args.push_back("pw");
            args.insert(args.end(), names.begin(), names.end());
            RunResult r = Spawn(args, folder, output);
            if (r.exitCode != 0) std::printf("  %s exited with %d\n", c.label, r.exitCode);
            if (round == 0 || r.wall < c.best.wall) c.best = r;
        }
    }
    const RunResult& one = contenders[0].best;
    const RunResult& many = contenders[1].best;
    const RunResult& progress = contenders[2].best;
    const RunResult& infozip = contenders[4].best;
    const RunResult& pigz = contenders[5].best;
    std::printf("\n%u threads where N is asked for; best wall time of 2\n", threads);
    std::printf("%-27s %8s %8s %9s %8s %9s %12s %8s\n", "packer", "wall s", "cpu s", "MB/s wall", "out/in",
                "peak MiB", "wall/InfoZIP", "cpu/1thr");
    for (const Contender& c : contenders) {
        const RunResult& r = c.best;
        std::printf("%-27s %8.2f %8.2f %9.1f %8.3f %9.1f %12.2f %8.2f\n", c.label, r.wall, r.cpu,
                    inputBytes / 1e6 / r.wall, double(r.outputBytes) / inputBytes, r.peakKiB / 1024.0,
                    r.wall / infozip.wall, r.cpu / one.cpu);
    }
    std::printf("\ncalvorin-pack on %u threads:\n", threads);
    std::printf("  wall time  %.2fx Info-ZIP zip -6 -P   (target <= 0.5 on 2 cores)\n",
                many.wall / infozip.wall);
    std::printf("  wall time  %.2fx pigz -p %u -6        (target <= 1.1)\n", many.wall / pigz.wall, threads);
    std::printf("  cpu time   %.2fx one thread           (target <= 1.1)\n", many.cpu / one.cpu);
    std::printf("  size       %.4fx one thread         (target <= 1.005)\n",
                double(many.outputBytes) / double(one.outputBytes));
    std::printf("  progress   %.3fx cpu, %.3fx wall without it\n", progress.cpu / many.cpu,
                progress.wall / many.wall);
    std::printf("  peak       %.1f MiB                  (target <= %u MiB)\n", many.peakKiB / 1024.0,
                16 + 4 * threads);
    if (windows.empty()) {
        std::printf("\ncalvorin-pack.exe not built (tools/build-windows.sh): no figures under Wine\n");
    } else {
        const RunResult& winOne = contenders[7].best;
        const RunResult& winMany = contenders[8].best;
        std::printf("\ncalvorin-pack.exe (Windows build) under Wine on %u threads:\n", threads);
        std::printf("  wall time  %.2fx Info-ZIP zip -6 -P, %.2fx pigz -p %u -6, %.2fx the Linux build\n",
                    winMany.wall / infozip.wall, winMany.wall / pigz.wall, threads, winMany.wall / many.wall);
        std::printf("  cpu time   %.2fx its one thread, %.2fx the Linux build's one thread\n",
                    winMany.cpu / winOne.cpu, winOne.cpu / one.cpu);
        std::printf("  size       %.4fx the Linux build's\n",
                    double(winMany.outputBytes) / double(many.outputBytes));
    }
    for (const char* archive : {"ours1.zip", "oursN.zip", "win1.zip", "winN.zip"}) {
        if (!fs::exists(kRoot / archive)) continue;
        auto check =
            calvorin::test::RunMeasured({"unzip", "-tqq", "-P", "pw", (kRoot / archive).string()}, kRoot);
        std::printf("unzip -t of %s: %s\n", archive, check.exitCode == 0 ? "OK" : "FAILED");
    }
    for (const Contender& c : contenders) fs::remove(kRoot / c.outputName);
}

void RunMemory(const std::string& pack, unsigned threads) {
    std::printf("\npeak memory of calvorin-pack against file size (password set):\n");
    const fs::path folder = kRoot / "memory";
    std::vector<std::string> names = EnsureFiles(
        folder, {{"dieci.mdb", 10 * kMiB, Kind::Database}, {"giga.mdb", 1024 * kMiB, Kind::Database}});
    for (unsigned t : {1u, threads}) {
        for (const std::string& name : names) {
            RunResult r =
                Spawn({pack, "--threads", std::to_string(t), (kRoot / "mem.zip").string(), "pw", name},
                      folder, kRoot / "mem.zip");
            std::printf(
                "  %u thread(s) %-10s %6.0f MiB in  %7.2f s wall  %7.2f s cpu  peak %5.1f MiB  (exit %d)\n",
                t, name.c_str(), fs::file_size(folder / name) / double(kMiB), r.wall, r.cpu,
                r.peakKiB / 1024.0, r.exitCode);
        }
    }
    fs::remove(kRoot / "mem.zip");
}

}  // namespace

int main() {
    const std::string pack = CALVORIN_PACK_PATH;
    fs::create_directories(kRoot);
    const fs::path set = kRoot / "set300";
    std::vector<std::string> names = EnsureFiles(set, Set300());
    std::uint64_t inputBytes = 0;
    for (const std::string& name : names) inputBytes += fs::file_size(set / name);
    std::printf("data set: %zu files, %.1f MB in %s\n", names.size(), inputBytes / 1e6, set.c_str());
    const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
    RunComparison(pack, set, names, inputBytes, threads);
    RunMemory(pack, threads);
    return 0;
}
