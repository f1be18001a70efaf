// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 (FIPS 180-4) over the system's library, as a reusable incremental hasher.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace calvorin {

using Sha256Digest = std::array<std::uint8_t, 32>;

// An incremental SHA-256 hasher. One object can hash many messages in turn: Final ends the current one
// and starts the next, reusing the same state, so hot loops allocate nothing. Not thread-safe. The state
// belongs to the build's library (OpenSSL on Linux, CNG on Windows) and stays out of this header.
class Sha256 {
  public:
    // Throws std::runtime_error when the system's library cannot provide SHA-256.
    Sha256();
    ~Sha256();
    Sha256(Sha256&&) noexcept;
    Sha256& operator=(Sha256&&) noexcept;

    // Adds bytes to the current message. Throws std::runtime_error when the library fails.
    void Update(const void* data, std::size_t size);
    void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
    template <std::size_t N>
    void Update(const std::array<std::uint8_t, N>& bytes) {
        Update(bytes.data(), N);
    }

    // Writes the digest of the current message to `out` and starts an empty one. Throws
    // std::runtime_error when the library fails.
    void Final(Sha256Digest& out);
    Sha256Digest Final();

    // Returns the digest of one message.
    static Sha256Digest Digest(std::string_view bytes);

  private:
    struct State;  // defined by each implementation
    std::unique_ptr<State> state_;
};

}  // namespace calvorin
