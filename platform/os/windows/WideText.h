// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 to and from the UTF-16 that Windows' own calls take.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// Never fail: a byte that is not UTF-8, or an unpaired surrogate, becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace calvorin
