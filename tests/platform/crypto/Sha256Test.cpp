// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Sha256.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/crypto/CryptoTestHex.h"

namespace calvorin {
namespace {

struct Vector {
    std::string message;
    const char* digest;
};

// FIPS 180-2, appendix B (one-block, two-block and long messages), plus the empty message.
const Vector kVectors[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

TEST(Sha256, KnownAnswers) {
    for (const auto& v : kVectors) {
        SCOPED_TRACE(v.message.substr(0, 20));
        EXPECT_EQ(test::ToHex(Sha256::Digest(v.message)), v.digest);
    }
}

TEST(Sha256, OneHasherServesManyMessagesFedInPieces) {
    Sha256 hasher;
    for (const auto& v : kVectors) {
        SCOPED_TRACE(v.message.substr(0, 20));
        std::string_view m = v.message;
        std::size_t half = m.size() / 2;
        hasher.Update(m.substr(0, half));
        hasher.Update(m.data() + half, m.size() - half);
        EXPECT_EQ(test::ToHex(hasher.Final()), v.digest);
    }
}

}  // namespace
}  // namespace calvorin
