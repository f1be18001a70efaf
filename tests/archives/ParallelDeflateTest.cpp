// SPDX-License-Identifier: GPL-3.0-or-later
// Deflate on several threads: one stream that zlib inflates back, with the input's CRC-32.
#include "archives/ParallelDeflate.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "ArchiveTestSupport.h"
#include "platform/crypto/Random.h"

namespace calvorin {
namespace {

constexpr std::size_t kBlock = ParallelDeflater::kBlockSize;

// Inflates a raw deflate stream with zlib itself; fails the test on a damaged or unfinished stream.
std::string Inflate(const std::string& stream) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    std::string out;
    std::string buffer(1 << 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    int rc = Z_OK;
    do {
        z.next_out = reinterpret_cast<Bytef*>(buffer.data());
        z.avail_out = static_cast<uInt>(buffer.size());
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer.data(), buffer.size() - z.avail_out);
    } while (rc == Z_OK);
    EXPECT_EQ(rc, Z_STREAM_END) << "the stream must end with its final block";
    EXPECT_EQ(z.avail_in, 0u) << "nothing after the final block";
    inflateEnd(&z);
    return out;
}

std::uint32_t Crc(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

// Feeds `data` to the deflater in reads of at most `readSize` bytes.
std::string Deflate(ParallelDeflater& deflater, const std::string& data, std::size_t readSize,
                    ParallelDeflater::Result* result = nullptr) {
    std::size_t offset = 0;
    std::string stream;
    const ParallelDeflater::Result r = deflater.Compress(
        [&](std::uint8_t* buffer, std::size_t capacity) {
            const std::size_t n = std::min({capacity, readSize, data.size() - offset});
            std::copy_n(data.data() + offset, n, buffer);
            offset += n;
            return n;
        },
        [&](std::uint8_t* chunk, std::size_t size) { stream.append(reinterpret_cast<char*>(chunk), size); });
    if (result) *result = r;
    return stream;
}

TEST(ParallelDeflater, EveryInputComesBackWhateverItsSizeAndTheThreads) {
    const std::string text = test::SampleText(3 * kBlock + 12345);
    const std::string random = RandomBytes(2 * kBlock + 7);
    struct Case {
        const char* name;
        std::string data;
    } cases[] = {
        {"empty", ""},
        {"one byte", "x"},
        {"exactly one block", text.substr(0, kBlock)},
        {"one block and one byte", text.substr(0, kBlock + 1)},
        {"text over several blocks", text},
        {"incompressible", random},
        {"repeats across a block boundary", std::string(kBlock - 10, 'a') + std::string(3 * kBlock, 'a')},
    };
    for (unsigned threads : {1u, 2u, 4u}) {
        ParallelDeflater deflater(threads);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << threads << " threads");
            ParallelDeflater::Result result;
            // Short reads too: a block is filled whole whatever the reads give.
            const std::string stream = Deflate(deflater, c.data, threads == 2 ? 1000 : kBlock, &result);
            EXPECT_EQ(Inflate(stream), c.data);
            EXPECT_EQ(result.size, c.data.size());
            EXPECT_EQ(result.crc, Crc(c.data));
            std::size_t offset = 0;
            const ParallelDeflater::Result sum =
                deflater.Checksum([&](std::uint8_t* buffer, std::size_t capacity) {
                    const std::size_t n = std::min(capacity, c.data.size() - offset);
                    std::copy_n(c.data.data() + offset, n, buffer);
                    offset += n;
                    return n;
                });
            EXPECT_EQ(sum.crc, Crc(c.data));
            EXPECT_EQ(sum.size, c.data.size());
        }
    }
}

TEST(ParallelDeflater, CompressesAsWellAsOneStream) {
    const std::string text = test::SampleText(12 * kBlock);
    ParallelDeflater deflater(4);
    const std::size_t parallel = Deflate(deflater, text, kBlock).size();
    const std::size_t single = test::Deflated(text).size();
    EXPECT_LT(static_cast<double>(parallel) / static_cast<double>(single), 1.005)
        << parallel << " bytes against " << single;
}

TEST(ParallelDeflater, AReadOrWriteErrorPassesThroughAndTheDeflaterGoesOn) {
    const std::string text = test::SampleText(6 * kBlock);
    ParallelDeflater deflater(2);
    std::size_t offset = 0;
    EXPECT_THROW(deflater.Compress(
                     [&](std::uint8_t* buffer, std::size_t capacity) -> std::size_t {
                         if (offset >= 3 * kBlock) throw std::runtime_error("lettura non riuscita");
                         std::copy_n(text.data() + offset, capacity, buffer);
                         offset += capacity;
                         return capacity;
                     },
                     [](std::uint8_t*, std::size_t) {}),
                 std::runtime_error);
    int sinkCalls = 0;
    std::size_t read = 0;
    EXPECT_THROW(deflater.Compress(
                     [&](std::uint8_t* buffer, std::size_t capacity) {
                         const std::size_t n = std::min(capacity, text.size() - read);
                         std::copy_n(text.data() + read, n, buffer);
                         read += n;
                         return n;
                     },
                     [&](std::uint8_t*, std::size_t) {
                         if (++sinkCalls == 2) throw std::runtime_error("disco pieno");
                     }),
                 std::runtime_error);
    EXPECT_EQ(Inflate(Deflate(deflater, text, kBlock)), text) << "the next stream is whole";
}

}  // namespace
}  // namespace calvorin
