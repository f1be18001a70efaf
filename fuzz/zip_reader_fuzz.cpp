// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer harness: the ZIP reader must refuse any input with EZipException, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "archives/ZipErrors.h"
#include "archives/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        calvorin::MemoryByteSource source(bytes);
        calvorin::ZipReader reader(source, "pw");
        for (const calvorin::ZipEntryHeader& entry : reader.Entries()) {
            try {
                reader.Extract(entry, [](std::uint8_t*, std::size_t) {});
            } catch (const calvorin::EZipException&) {
                // a damaged entry; the next one may still be readable
            }
        }
    } catch (const calvorin::EZipException&) {
        // refused: the expected outcome for most inputs
    }
    return 0;
}
