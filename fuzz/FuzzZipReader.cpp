// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes read as an archive either fail with the archive's own error or extract.
#include <string_view>

#include "archives/ZipErrors.h"
#include "support/zip/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    calvorin::MemoryByteSource source(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        calvorin::ZipReader reader(source, "password");
        for (const auto& entry : reader.Entries()) {
            try {
                reader.Extract(entry, [](std::uint8_t*, std::size_t) {});
            } catch (const calvorin::EZipException&) {
            }
        }
    } catch (const calvorin::EZipException&) {
    }
    return 0;
}
