// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/RawDeflate.h"

#include <zlib.h>

#include <stdexcept>
#include <string>

#include "archives/ZlibStream.h"

namespace calvorin {
namespace {

constexpr int kDefaultMemLevel = 8;

}  // namespace

struct RawDeflater::Stream {
    z_stream z{};
};

RawDeflater::RawDeflater() : stream_(std::make_unique<Stream>()), output_(kDeflateChunkSize) {
    int rc = deflateInit2(&stream_->z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawWindowBits, kDefaultMemLevel,
                          Z_DEFAULT_STRATEGY);
    if (rc != Z_OK) throw std::runtime_error("deflateInit2: " + ZlibMessage(stream_->z, rc));
}

RawDeflater::~RawDeflater() {
    deflateEnd(&stream_->z);
}

void RawDeflater::Compress(const std::uint8_t* data, std::size_t size, bool finish, const ChunkSink& sink) {
    z_stream& z = stream_->z;
    z.next_in = const_cast<Bytef*>(data);  // zlib's API is not const-correct; it never writes input
    z.avail_in = ZlibSize(size);
    int flush = finish ? Z_FINISH : Z_NO_FLUSH;
    int rc = Z_OK;
    do {
        z.next_out = output_.data();
        z.avail_out = ZlibSize(output_.size());
        rc = deflate(&z, flush);
        if (rc == Z_STREAM_ERROR) throw std::runtime_error("deflate: " + ZlibMessage(z, rc));
        std::size_t produced = output_.size() - z.avail_out;
        if (produced > 0) sink(output_.data(), produced);
    } while (z.avail_out == 0 || (finish && rc != Z_STREAM_END));
    if (finish) deflateReset(&z);
}

void RawDeflater::Reset() {
    deflateReset(&stream_->z);
}

}  // namespace calvorin
