// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/zip/RawInflate.h"

#include <zlib.h>

#include <stdexcept>
#include <string>

#include "archives/ZipErrors.h"
#include "archives/ZlibStream.h"

namespace calvorin {

struct RawInflater::Stream {
    z_stream z{};
};

RawInflater::RawInflater() : stream_(std::make_unique<Stream>()), output_(kDeflateChunkSize) {
    int rc = inflateInit2(&stream_->z, kRawWindowBits);
    if (rc != Z_OK) throw std::runtime_error("inflateInit2: " + ZlibMessage(stream_->z, rc));
}

RawInflater::~RawInflater() {
    inflateEnd(&stream_->z);
}

bool RawInflater::Decompress(const std::uint8_t* data, std::size_t size, const ChunkSink& sink) {
    z_stream& z = stream_->z;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = ZlibSize(size);
    while (!finished_ && (z.avail_in > 0 || z.avail_out == 0)) {
        z.next_out = output_.data();
        z.avail_out = ZlibSize(output_.size());
        int rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR)
            throw EZipException("Archivio ZIP danneggiato: " + ZlibMessage(z, rc));
        std::size_t produced = output_.size() - z.avail_out;
        if (produced > 0) sink(output_.data(), produced);
        finished_ = rc == Z_STREAM_END;
        if (rc == Z_BUF_ERROR) break;  // no progress possible until more input comes
    }
    return finished_;
}

}  // namespace calvorin
