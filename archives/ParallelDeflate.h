// SPDX-License-Identifier: GPL-3.0-or-later
// Deflate on every core: one raw deflate stream made of blocks compressed side by side, as pigz makes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "archives/RawDeflate.h"

namespace calvorin {

// Each block is compressed by a worker thread with the last 32 KiB of the block before it as dictionary
// and ended with a sync flush, so the blocks joined in order form one stream that any inflater reads; the
// stream ends with an empty final block. The output differs from a one-thread deflater's by a few bytes
// per block; compression is as good, since every block sees the same window it would have seen.
class ParallelDeflater {
  public:
    // Size of the blocks the input is cut into.
    static constexpr std::size_t kBlockSize = std::size_t{256} * 1024;

    // Starts `threads` workers (at least one). Throws std::runtime_error when zlib cannot be set up.
    explicit ParallelDeflater(unsigned threads);
    // Stops and joins the workers.
    ~ParallelDeflater();
    ParallelDeflater(const ParallelDeflater&) = delete;
    ParallelDeflater& operator=(const ParallelDeflater&) = delete;

    // Fills `buffer` with up to `capacity` bytes of input; 0 at the end.
    using Reader = std::function<std::size_t(std::uint8_t* buffer, std::size_t capacity)>;

    struct Result {
        std::uint32_t crc = 0;  // CRC-32 of the input
        std::uint64_t size = 0;
    };

    // Compresses everything `read` gives into one stream handed to `sink` in order. At most twice as many
    // blocks as workers are in memory at once. Whatever `read` or `sink` throws is passed on once the
    // workers have let go of the blocks.
    Result Compress(const Reader& read, const ChunkSink& sink);

    // The CRC-32 and size of everything `read` gives, the blocks summed on the workers.
    Result Checksum(const Reader& read);

    unsigned Threads() const;

  private:
    struct Pool;
    Result Run(const Reader& read, const ChunkSink* sink);
    std::unique_ptr<Pool> pool_;
};

// The number of threads to compress with: `requested`, or one per core when it is 0.
unsigned CompressionThreads(unsigned requested);

}  // namespace calvorin
