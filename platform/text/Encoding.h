// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between UTF-8 (the in-memory form of every text) and the encodings of files on disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace calvorin {

// How a text file is stored. Ansi is Windows-1252 without byte-order mark (the code page FCM and the
// site expect); the other three carry their byte-order mark.
enum class TextEncoding { Ansi, Utf8Bom, Utf16Le, Utf16Be };

// Converts UTF-8 to Windows-1252. A character that Windows-1252 lacks, or a malformed sequence (a lead
// byte with the continuation bytes that follow it, as many as it announces), becomes one "?"; the C1 controls
// U+0081, U+008D, U+008F, U+0090 and U+009D become the bytes of the same number, which Windows-1252 leaves
// undefined (as Windows converts them).
std::string Utf8ToCp1252(std::string_view utf8);

// Converts Windows-1252 to UTF-8. The five bytes that Windows-1252 leaves undefined become U+FFFD.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Returns the bytes as UTF-8, with each malformed sequence (as for Utf8ToCp1252) replaced by U+FFFD, so
// that the result is well-formed by the rules of IsValidUtf8; valid text is unchanged.
std::string RepairUtf8(std::string_view bytes);

struct DecodedText {
    std::string utf8;
    TextEncoding encoding = TextEncoding::Ansi;
};

// Decodes file bytes: a byte-order mark selects UTF-8 or UTF-16 LE/BE (and is dropped), anything else is
// read as Windows-1252, whose five undefined bytes read as the C1 controls of the same number, so that
// EncodeText gives the file's bytes back. Malformed UTF-16 or UTF-8 sequences become U+FFFD; decoding
// never fails.
DecodedText DecodeText(std::string_view bytes);

// Encodes UTF-8 text in the given encoding, byte-order mark included.
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

// Splits text into lines: CR LF, a lone LF and a lone CR each end a line; a final line break does not
// start another line.
std::vector<std::string> SplitLines(std::string_view text);

// Joins lines, each followed by CR LF (the last one too). Bare line feeds inside a line are kept.
std::string JoinCrlf(const std::vector<std::string>& lines);

}  // namespace calvorin
