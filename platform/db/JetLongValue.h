// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a Memo or OLE value, which Jet keeps in the row or on long-value (LVAL) pages.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/db/JetFile.h"

namespace calvorin {

class JetLongValueReader {
  public:
    // `file` must outlive the reader.
    explicit JetLongValueReader(const JetFile& file);

    // Sets `out` to the bytes of the value whose field in the row is `field`: a 12-byte header (length
    // and flags, then a pointer to a row of an LVAL page), and the bytes themselves when they are kept
    // inline. Returns false when the value is damaged: a header cut short, flags Jet does not write, a
    // pointer to a page past the end of the file or to a row the page lacks, a chain of pages that comes
    // round again or ends before the value's length.
    [[nodiscard]] bool Read(std::span<const unsigned char> field, std::string& out);

  private:
    bool Row(std::uint32_t pointer, std::span<const unsigned char>& row);

    const JetFile& file_;
    std::vector<unsigned char> page_;
};

}  // namespace calvorin
