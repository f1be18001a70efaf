// SPDX-License-Identifier: GPL-3.0-or-later
// A small seeded random generator whose sequence is the same on every platform and library.
#pragma once

#include <cstdint>
#include <vector>

namespace calvorin::demo {

// SplitMix64: the standard library's distributions differ between implementations, so the demo league
// draws every number through these few helpers to stay identical for a seed.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A number from 0 to n - 1 (n > 0).
    std::int64_t Below(std::int64_t n) {
        return static_cast<std::int64_t>(Next() % static_cast<std::uint64_t>(n));
    }

    // A number from lo to hi, both included.
    std::int64_t Between(std::int64_t lo, std::int64_t hi) { return lo + Below(hi - lo + 1); }

    // True with the given chance, in per cent.
    bool Chance(int percent) { return Below(100) < percent; }

    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<std::int64_t>(items.size())))];
    }

    template <typename T>
    void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[static_cast<std::size_t>(Below(static_cast<std::int64_t>(i)))]);
    }

  private:
    std::uint64_t state_;
};

}  // namespace calvorin::demo
