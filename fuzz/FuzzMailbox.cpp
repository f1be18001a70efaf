// SPDX-License-Identifier: GPL-3.0-or-later
// A sender as typed never yields a line break in the generated files.
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "lineup/Mailbox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        std::string sender = calvorin::FormatSender(text, "Lega \"Amici\"");
        if (sender.find_first_of("\r\n") != std::string::npos &&
            std::string_view(text).find_first_of("\r\n") == std::string_view::npos)
            std::abort();
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
