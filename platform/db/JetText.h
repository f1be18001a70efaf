// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding of the texts that Jet stores: UTF-16LE, Jet 4's compressed unicode, and Jet 3's code page.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// Returns the UTF-8 form of a Jet 4 text value: UTF-16LE, or "compressed unicode" (FF FE, then runs
// of one byte per character, each 00 byte switching between one- and two-byte runs). Unpaired
// surrogates and a dangling odd byte become U+FFFD; decoding never fails.
std::string DecodeJet4Text(std::string_view bytes);

// Returns the UTF-8 form of a Jet 3 text value, stored in Windows-1252.
std::string DecodeJet3Text(std::string_view bytes);

}  // namespace calvorin
