// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/ParallelDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace calvorin {
namespace {

constexpr int kRawWindowBits = -15;
constexpr int kDefaultMemLevel = 8;
constexpr std::size_t kDictionarySize = std::size_t{32} * 1024;
// A final block with no data (fixed Huffman codes, end-of-block code only): what zlib writes when a
// stream ends without input.
constexpr std::uint8_t kEmptyFinalBlock[] = {0x03, 0x00};

struct Block {
    std::vector<std::uint8_t> input;
    std::size_t size = 0;
    std::vector<std::uint8_t> dictionary;
    std::vector<std::uint8_t> output;
    std::size_t produced = 0;
    std::uint32_t crc = 0;
    std::optional<std::string> error;
    bool checksumOnly = false;
    bool done = false;
};

// One zlib stream per worker, reused block after block.
class BlockCompressor {
  public:
    BlockCompressor() {
        const int rc = deflateInit2(&z_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawWindowBits, kDefaultMemLevel,
                                    Z_DEFAULT_STRATEGY);
        if (rc != Z_OK) throw std::runtime_error("deflateInit2: zlib error " + std::to_string(rc));
    }
    ~BlockCompressor() { deflateEnd(&z_); }
    BlockCompressor(const BlockCompressor&) = delete;
    BlockCompressor& operator=(const BlockCompressor&) = delete;

    void Compress(Block& block) {
        block.crc = static_cast<std::uint32_t>(
            crc32(crc32(0, nullptr, 0), block.input.data(), static_cast<uInt>(block.size)));
        block.produced = 0;
        if (block.checksumOnly) return;
        deflateReset(&z_);
        if (!block.dictionary.empty() &&
            deflateSetDictionary(&z_, block.dictionary.data(), static_cast<uInt>(block.dictionary.size())) !=
                Z_OK)
            throw std::runtime_error("deflateSetDictionary");
        // Room for incompressible data and the flush marker; grown should that ever be too little.
        block.output.resize(std::max<std::size_t>(block.output.size(), deflateBound(&z_, block.size) + 16));
        z_.next_in = block.input.data();
        z_.avail_in = static_cast<uInt>(block.size);
        block.produced = 0;
        for (;;) {
            z_.next_out = block.output.data() + block.produced;
            z_.avail_out = static_cast<uInt>(block.output.size() - block.produced);
            if (deflate(&z_, Z_SYNC_FLUSH) == Z_STREAM_ERROR) throw std::runtime_error("deflate");
            block.produced = block.output.size() - z_.avail_out;
            if (z_.avail_out != 0) break;
            block.output.resize(block.output.size() * 2);
        }
    }

  private:
    z_stream z_{};
};

}  // namespace

struct ParallelDeflater::Pool {
    std::mutex mutex;
    std::condition_variable workAvailable;
    std::condition_variable blockDone;
    std::deque<Block*> queue;
    bool stopping = false;
    std::vector<std::thread> workers;

    void Work(BlockCompressor& compressor) {
        for (;;) {
            Block* block = nullptr;
            {
                std::unique_lock lock(mutex);
                workAvailable.wait(lock, [&] { return stopping || !queue.empty(); });
                if (queue.empty()) return;
                block = queue.front();
                queue.pop_front();
            }
            try {
                compressor.Compress(*block);
            } catch (const std::exception& e) {
                block->error = e.what();
            }
            {
                std::lock_guard lock(mutex);
                block->done = true;
            }
            blockDone.notify_all();
        }
    }

    void Submit(Block* block) {
        {
            std::lock_guard lock(mutex);
            block->done = false;
            block->error.reset();
            queue.push_back(block);
        }
        workAvailable.notify_one();
    }

    void WaitFor(const Block& block) {
        std::unique_lock lock(mutex);
        blockDone.wait(lock, [&] { return block.done; });
    }
};

unsigned CompressionThreads(unsigned requested) {
    if (requested != 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

ParallelDeflater::ParallelDeflater(unsigned threads) : pool_(std::make_unique<Pool>()) {
    threads = std::max(1u, threads);
    // Set up every stream first, so that a zlib failure throws here and not inside a thread.
    auto compressors = std::make_shared<std::vector<std::unique_ptr<BlockCompressor>>>();
    for (unsigned i = 0; i < threads; ++i) compressors->push_back(std::make_unique<BlockCompressor>());
    for (unsigned i = 0; i < threads; ++i)
        pool_->workers.emplace_back([pool = pool_.get(), compressors, i] { pool->Work(*(*compressors)[i]); });
}

ParallelDeflater::~ParallelDeflater() {
    {
        std::lock_guard lock(pool_->mutex);
        pool_->stopping = true;
    }
    pool_->workAvailable.notify_all();
    for (std::thread& worker : pool_->workers) worker.join();
}

unsigned ParallelDeflater::Threads() const {
    return static_cast<unsigned>(pool_->workers.size());
}

ParallelDeflater::Result ParallelDeflater::Compress(const Reader& read, const ChunkSink& sink) {
    return Run(read, &sink);
}

ParallelDeflater::Result ParallelDeflater::Checksum(const Reader& read) {
    return Run(read, nullptr);
}

// Without a sink the blocks are only summed: no dictionary, no deflate, no final block.
ParallelDeflater::Result ParallelDeflater::Run(const Reader& read, const ChunkSink* sink) {
    const std::size_t maxInFlight = 2 * pool_->workers.size();
    std::vector<Block> blocks(maxInFlight);
    std::vector<Block*> idle;
    idle.reserve(blocks.size());
    for (Block& b : blocks) idle.push_back(&b);
    std::deque<Block*> inFlight;  // in stream order
    // Whatever happens, no block may be freed while a worker still has it.
    struct Drain {
        Pool& pool;
        std::deque<Block*>& inFlight;
        ~Drain() {
            for (Block* b : inFlight) pool.WaitFor(*b);
        }
    } drain{*pool_, inFlight};

    Result result{static_cast<std::uint32_t>(crc32(0, nullptr, 0)), 0};
    std::vector<std::uint8_t> tail;  // the last 32 KiB read: the next block's dictionary
    auto writeFront = [&] {
        Block* front = inFlight.front();
        pool_->WaitFor(*front);
        inFlight.pop_front();
        idle.push_back(front);
        if (front->error) throw std::runtime_error("deflate: " + *front->error);
        result.crc = static_cast<std::uint32_t>(
            crc32_combine(result.crc, front->crc, static_cast<z_off_t>(front->size)));
        result.size += front->size;
        if (sink && front->produced > 0) (*sink)(front->output.data(), front->produced);
    };
    for (bool end = false; !end;) {
        if (idle.empty()) writeFront();
        Block* block = idle.back();
        block->input.resize(kBlockSize);
        block->size = 0;
        // Fill the block whole, so that every block but the last has the same size.
        while (block->size < kBlockSize) {
            const std::size_t n = read(block->input.data() + block->size, kBlockSize - block->size);
            if (n == 0) {
                end = true;
                break;
            }
            block->size += n;
        }
        if (block->size == 0) break;
        idle.pop_back();
        block->checksumOnly = sink == nullptr;
        if (sink) {
            block->dictionary = tail;
            // Every block but the last is whole, so the next block's window is the end of this one.
            const auto end = block->input.begin() + static_cast<std::ptrdiff_t>(block->size);
            tail.assign(end - static_cast<std::ptrdiff_t>(std::min(kDictionarySize, block->size)), end);
        }
        inFlight.push_back(block);
        pool_->Submit(block);
    }
    while (!inFlight.empty()) writeFront();
    if (!sink) return result;
    std::uint8_t last[sizeof kEmptyFinalBlock];
    std::copy(std::begin(kEmptyFinalBlock), std::end(kEmptyFinalBlock), last);
    (*sink)(last, sizeof last);
    return result;
}

}  // namespace calvorin
