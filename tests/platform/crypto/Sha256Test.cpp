// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 known answers, the same on every build (OpenSSL on Linux, CNG on Windows).
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

constexpr const char* kAbcDigest = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

const Vector kVectors[] = {
    // NIST CAVP SHAVS byte-oriented SHA256ShortMsg.rsp: Len = 0 and Len = 8.
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {test::FromHex("d3"), "28969cdfa74a12c82f3bad960b0b000aca2ac329deea5c2328ebc6f2ba9802c1"},
    // FIPS 180-2 appendix B.1 and B.2 (NIST's SHA256 example values): one block, and the 448-bit message
    // that needs two.
    {"abc", kAbcDigest},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    // The 896-bit message of FIPS 180-2 appendix C (the SHA-512 examples) under SHA-256, as in the
    // di-mgt.com.au collection of SHA test vectors; checked with Python's hashlib.
    {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstn"
     "opqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    // NIST "SHA2 Additional" examples #3 to #6 and #9: lengths around the padding's block boundaries.
    {std::string(55, '\0'), "02779466cdec163811d078815c633f21901413081449002f24aa3e80f0b88ef7"},
    {std::string(56, '\0'), "d4817aa5497628e7c77e6b606107042bbba3130888c5f47a375e6179be789fbb"},
    {std::string(57, '\0'), "65a16cb7861335d5ace3c60718b5052e44660726da4cd13bb745381b235a1785"},
    {std::string(64, '\0'), "f5a5fd42d16a20302798ef6ed309979b43003d2320d9f0e8ea9831a92759fb4b"},
    {std::string(1005, 'U'), "f4d62ddec0f3dd90ea1380fa16a5ff8dc4c54b21740650f24afc4120903552b0"},
    // FIPS 180-2 appendix B.3: one million "a".
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

TEST(Sha256, KnownAnswers) {
    for (const auto& v : kVectors) {
        SCOPED_TRACE(test::ToHex(v.message.substr(0, 20)) + ", " + std::to_string(v.message.size()) +
                     " bytes");
        EXPECT_EQ(test::ToHex(Sha256::Digest(v.message)), v.digest);
    }
}

// Final starts the next message on the same state: leftovers of one message must not reach the next.
TEST(Sha256, OneHasherServesManyMessagesFedInPieces) {
    Sha256 hasher;
    for (std::size_t pieces : {1, 2, 7}) {
        for (const auto& v : kVectors) {
            SCOPED_TRACE(std::to_string(v.message.size()) + " bytes in " + std::to_string(pieces) +
                         " pieces");
            std::string_view m = v.message;
            std::size_t step = m.size() / pieces + 1;
            for (std::size_t at = 0; at < m.size(); at += step) hasher.Update(m.substr(at, step));
            hasher.Update(m.data(), 0);
            EXPECT_EQ(test::ToHex(hasher.Final()), v.digest);
        }
    }
}

TEST(Sha256, MovedHasherKeepsItsMessage) {
    Sha256 first;
    first.Update(std::string_view("ab"));
    Sha256 second(std::move(first));
    second.Update(std::string_view("c"));
    Sha256 third;
    third = std::move(second);
    EXPECT_EQ(test::ToHex(third.Final()), kAbcDigest);
}

}  // namespace
}  // namespace calvorin
