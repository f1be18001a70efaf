// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252 against Python's cp1252 codec, on every byte and every character.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/text/Encoding.h"
#include "platform/text/Utf8.h"
#include "support/Command.h"

namespace calvorin {

// Python's cp1252 codec reads every byte and writes every character as Windows does, but for the five
// undefined bytes, which Python refuses and which read and write here as their C1 controls.
TEST(Encoding, Cp1252AgreesWithPythonsCodecOnEveryByteAndCharacter) {
    if (!test::HaveProgram("python3")) GTEST_SKIP() << "python3 is not installed";
    const test::CommandResult python = test::RunCommand(
        "python3 -c 'import sys\n"
        "out = sys.stdout.buffer\n"
        "for b in range(256): out.write(bytes([b]).decode(\"cp1252\", \"replace\").encode().hex().encode() + b\"\\n\")\n"
        "out.write(\"\".join(chr(c) for c in range(0x110000) if not 0xD800 <= c <= 0xDFFF).encode(\"cp1252\", \"replace\"))'",
        test::Capture::StdoutOnly);
    ASSERT_EQ(python.exitCode, 0) << python.output;
    std::string_view answer = python.output;
    auto undefined = [](char32_t c) { return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D; };
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::size_t end = answer.find('\n');
        ASSERT_NE(end, std::string_view::npos);
        std::string peer;
        for (std::size_t i = 0; i + 1 < end; i += 2)
            peer += static_cast<char>(std::stoi(std::string(answer.substr(i, 2)), nullptr, 16));
        answer.remove_prefix(end + 1);
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Cp1252ToUtf8(byte), peer);
        EXPECT_EQ(DecodeText(byte).utf8, undefined(b) ? "\xC2" + byte : peer);
    }
    std::string every;
    std::vector<char32_t> characters;
    for (char32_t c = 0; c < 0x110000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        AppendUtf8(every, c);
        characters.push_back(c);
    }
    const std::string ours = Utf8ToCp1252(every);
    ASSERT_EQ(ours.size(), characters.size());
    ASSERT_EQ(answer.size(), characters.size());
    int differences = 0;
    for (std::size_t i = 0; i < characters.size() && differences < 10; ++i) {
        const char expected = undefined(characters[i]) ? static_cast<char>(characters[i]) : answer[i];
        if (ours[i] != expected) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(characters[i]) << ": "
                          << static_cast<int>(static_cast<unsigned char>(ours[i]));
            ++differences;
        }
    }
}

}  // namespace calvorin
