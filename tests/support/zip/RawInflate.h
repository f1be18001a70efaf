// SPDX-License-Identifier: GPL-3.0-or-later
// zlib's raw inflate (window bits -15: no zlib header or trailer), for reading ZIP method 8 back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "archives/RawDeflate.h"

namespace calvorin {

// An inflate stream with a fixed-size output buffer.
class RawInflater {
  public:
    // Throws std::runtime_error when zlib cannot be set up.
    RawInflater();
    ~RawInflater();
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    // Decompresses `size` bytes, handing output to `sink`. Returns true once the end of the deflate
    // stream has been reached (input after it is ignored). Throws EZipException on corrupt data.
    bool Decompress(const std::uint8_t* data, std::size_t size, const ChunkSink& sink);

  private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
    std::vector<std::uint8_t> output_;
    bool finished_ = false;
};

}  // namespace calvorin
