// SPDX-License-Identifier: GPL-3.0-or-later
// zlib's raw deflate (window bits -15: no zlib header or trailer), as ZIP method 8 stores it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace calvorin {

// Receives output in chunks; the chunk may be changed in place (the cipher encrypts it there).
using ChunkSink = std::function<void(std::uint8_t* data, std::size_t size)>;

// A deflate stream at zlib's default level with a fixed-size output buffer, reused entry after entry.
class RawDeflater {
  public:
    // Throws std::runtime_error when zlib cannot be set up.
    RawDeflater();
    ~RawDeflater();
    RawDeflater(const RawDeflater&) = delete;
    RawDeflater& operator=(const RawDeflater&) = delete;

    // Compresses `size` bytes, handing every full output buffer to `sink`. With `finish` the stream is
    // ended, the rest is flushed to `sink`, and the deflater is ready for the next stream.
    void Compress(const std::uint8_t* data, std::size_t size, bool finish, const ChunkSink& sink);

    // Drops any stream in progress (one that an error interrupted) and starts afresh.
    void Reset();

  private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
    std::vector<std::uint8_t> output_;
};

// Output buffer: big enough to keep system calls rare, small enough for a flat memory profile.
inline constexpr std::size_t kDeflateChunkSize = std::size_t{256} * 1024;

}  // namespace calvorin
