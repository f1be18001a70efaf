// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target without libFuzzer: over the files and folders named on the command line, then over
// pseudo-random mutations of them (a fixed seed, so a failure repeats). CI runs every target this way
// under the sanitizers; with clang, -DCALVORIN_LIBFUZZER=ON links the same targets with libFuzzer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::vector<std::string> ReadInputs(int argc, char** argv) {
    std::vector<std::string> inputs;
    auto readFile = [&](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p = argv[i];
        if (std::filesystem::is_directory(p))
            for (const auto& e : std::filesystem::directory_iterator(p)) readFile(e.path());
        else if (std::filesystem::is_regular_file(p))
            readFile(p);
    }
    if (inputs.empty()) inputs.emplace_back();
    return inputs;
}

// Flips, inserts, deletes and splices bytes, the usual cheap mutations.
std::string Mutate(std::string s, const std::vector<std::string>& pool, std::mt19937& rng) {
    int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
        size_t pos = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 5) {
            case 0:
                if (pos < s.size()) s[pos] = static_cast<char>(s[pos] ^ (1u << (rng() % 8)));
                break;
            case 1:
                s.insert(pos, 1, static_cast<char>(rng() % 256));
                break;
            case 2:
                if (pos < s.size()) s.erase(pos, 1 + rng() % 16);
                break;
            case 3: {
                const std::string& other = pool[rng() % pool.size()];
                if (!other.empty()) s.insert(pos, other.substr(rng() % other.size(), 1 + rng() % 32));
                break;
            }
            default:
                s.insert(pos, std::string(1 + rng() % 64, static_cast<char>(rng() % 256)));
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const char* runsText = std::getenv("CALVORIN_FUZZ_RUNS");
    long runs = runsText ? std::strtol(runsText, nullptr, 10) : 3000;
    auto inputs = ReadInputs(argc, argv);
    for (const auto& input : inputs) Run(input);
    std::mt19937 rng(20251210);
    for (long i = 0; i < runs; ++i) Run(Mutate(inputs[i % inputs.size()], inputs, rng));
    std::printf("%zu inputs and %ld mutations ran without a fault\n", inputs.size(), runs);
    return 0;
}
