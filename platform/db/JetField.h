// SPDX-License-Identifier: GPL-3.0-or-later
// Where one value of a cracked Access row lies on its page.
#pragma once

#include <cstdint>

namespace calvorin {

struct JetField {
    std::uint32_t start = 0;  // offset in the page
    // A variable value of a damaged row may come out negative; a non-NULL one is refused where it is read.
    std::int32_t size = 0;
    bool null = true;  // for Yes/No, the value false
};

}  // namespace calvorin
