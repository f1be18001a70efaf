// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a Memo or OLE value, which Jet keeps in the row or on long-value (LVAL) pages.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/db/JetFile.h"

namespace calvorin {

// One reader serves a whole file: each LVAL row belongs to one value, so a row that a second value (or
// the same value, round a loop) points to is damage, and refusing it keeps a file from multiplying its
// long values in memory.
class JetLongValueReader {
  public:
    // `file` must outlive the reader.
    explicit JetLongValueReader(const JetFile& file);

    // Sets `out` to the bytes of the value whose field in the row is `field`: a 12-byte header (length
    // and flags, then a pointer to a row of an LVAL page), and the bytes themselves when they are kept
    // inline. Returns false when the value is damaged: a header cut short, flags Jet does not write, a
    // pointer to a page past the end of the file or to a row the page lacks or that was read before, a
    // chain that ends before the value's length.
    [[nodiscard]] bool Read(std::span<const unsigned char> field, std::string& out);

  private:
    bool Row(std::uint32_t pointer, std::span<const unsigned char>& row);

    const JetFile& file_;
    std::vector<unsigned char> page_;
    std::unordered_set<std::uint32_t> read_;  // the LVAL rows read so far, by pointer
};

}  // namespace calvorin
