// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes parse as an INI file, and what we write reads back as the same file.
#include <cstdlib>
#include <string_view>

#include "settings/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto first = calvorin::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string written = first.Serialize();
    if (calvorin::IniFile::Parse(written).Serialize() != written) std::abort();
    for (const auto& section : first.Sections()) first.ReadInteger(section, "x", 0);
    return 0;
}
