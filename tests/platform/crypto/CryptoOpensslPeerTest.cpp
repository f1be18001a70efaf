// SPDX-License-Identifier: GPL-3.0-or-later
// Our own Base64 and PKCS#7 code against OpenSSL as a peer (Linux build only: the Windows build has no
// OpenSSL).
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>

#include "platform/crypto/Aes128Cbc.h"
#include "platform/crypto/Base64.h"
#include "platform/crypto/CryptoTestHex.h"

namespace calvorin {
namespace {

std::string RandomText(std::mt19937& random, std::size_t n) {
    std::string out(n, '\0');
    for (char& c : out) c = static_cast<char>(random() & 0xFF);
    return out;
}

TEST(CryptoOpensslPeer, Base64EncodeEqualsEvpEncodeBlock) {
    std::mt19937 random(20240601);
    for (std::size_t n = 0; n <= 200; ++n) {
        SCOPED_TRACE(n);
        std::string bytes = RandomText(random, n);
        std::string expected(4 * ((n + 2) / 3) + 1, '\0');
        int written =
            EVP_EncodeBlock(reinterpret_cast<unsigned char*>(expected.data()),
                            reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(n));
        expected.resize(static_cast<std::size_t>(written));
        EXPECT_EQ(Base64Encode(bytes), expected);
    }
}

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// OpenSSL's AES-128-CBC with its own padding on or off; nullopt when it refuses the input.
std::optional<std::string> Evp(bool encrypt, bool padding, const Aes128Key& key, const Aes128Iv& iv,
                               std::string_view input) {
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    std::string out(input.size() + 16, '\0');
    auto* buffer = reinterpret_cast<unsigned char*>(out.data());
    int written = 0;
    int last = 0;
    if (!ctx ||
        EVP_CipherInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key.data(), iv.data(), encrypt ? 1 : 0) !=
            1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), padding ? 1 : 0) != 1 ||
        EVP_CipherUpdate(ctx.get(), buffer, &written, reinterpret_cast<const unsigned char*>(input.data()),
                         static_cast<int>(input.size())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), buffer + written, &last) != 1)
        return std::nullopt;
    out.resize(static_cast<std::size_t>(written + last));
    return out;
}

TEST(CryptoOpensslPeer, Aes128CbcEncryptPadsAsOpenssl) {
    std::mt19937 random(7);
    Aes128Key key{};
    Aes128Iv iv{};
    for (auto& b : key) b = static_cast<std::uint8_t>(random());
    for (auto& b : iv) b = static_cast<std::uint8_t>(random());
    for (std::size_t n = 0; n <= 50; ++n) {
        SCOPED_TRACE(n);
        std::string plain = RandomText(random, n);
        EXPECT_EQ(test::ToHex(Aes128CbcEncrypt(key, iv, plain)),
                  test::ToHex(*Evp(true, true, key, iv, plain)));
    }
}

// Last blocks whose tail is every candidate padding length, each once well formed and once with one
// padding byte changed, encrypted bare: our decryption accepts and strips exactly what OpenSSL's does.
TEST(CryptoOpensslPeer, Aes128CbcDecryptAcceptsWhatOpensslAccepts) {
    std::mt19937 random(11);
    Aes128Key key{};
    for (auto& b : key) b = static_cast<std::uint8_t>(random());
    const Aes128Iv iv{};
    int accepted = 0;
    for (int tail = 0; tail <= 20; ++tail) {
        for (bool spoil : {false, true}) {
            std::string blocks = RandomText(random, 32);
            auto fill = static_cast<std::size_t>(std::clamp(tail, 1, 16));
            for (std::size_t i = 0; i < fill; ++i) blocks[31 - i] = static_cast<char>(tail);
            if (spoil && fill > 1) blocks[32 - fill] = static_cast<char>(tail + 1);
            SCOPED_TRACE(test::ToHex(blocks.substr(16)));
            std::string cipher = *Evp(true, false, key, iv, blocks);
            std::optional<std::string> expected = Evp(false, true, key, iv, cipher);
            try {
                std::string ours = Aes128CbcDecrypt(key, iv, cipher);
                ASSERT_TRUE(expected.has_value()) << "accepted a padding OpenSSL refuses";
                EXPECT_EQ(test::ToHex(ours), test::ToHex(*expected));
                ++accepted;
            } catch (const std::runtime_error&) {
                EXPECT_FALSE(expected.has_value()) << "refused a padding OpenSSL accepts";
            }
        }
    }
    // Tails 1 to 16 well formed, and tail 1 once more (one byte leaves nothing to spoil).
    EXPECT_EQ(accepted, 17);
}

}  // namespace
}  // namespace calvorin
