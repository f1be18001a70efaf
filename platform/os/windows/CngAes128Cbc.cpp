// SPDX-License-Identifier: GPL-3.0-or-later
// Bare AES-128-CBC over CNG, no padding flag: Aes128Cbc.cpp pads and checks every padding byte itself.
#include <stdexcept>
#include <string>

#include "platform/crypto/Aes128CbcBlocks.h"
#include "platform/os/windows/CngHandle.h"

namespace calvorin {
namespace {

BCRYPT_ALG_HANDLE AesCbcAlgorithm() {
    static const CngAlgorithm algorithm = [] {
        CngAlgorithm aes = OpenCngAlgorithm(BCRYPT_AES_ALGORITHM, 0, "AES-128-CBC non disponibile");
        static constexpr wchar_t kMode[] = BCRYPT_CHAIN_MODE_CBC;
        CheckCng(BCryptSetProperty(aes.get(), BCRYPT_CHAINING_MODE,
                                   reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(kMode)), sizeof kMode, 0),
                 "AES-128-CBC non disponibile");
        return aes;
    }();
    return algorithm.get();
}

// One whole encryption or decryption of whole blocks.
std::string Run(bool encrypt, const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks) {
    const char* operation = encrypt ? "Cifratura AES" : "Decifratura AES";
    BCRYPT_KEY_HANDLE handle = nullptr;
    CheckCng(BCryptGenerateSymmetricKey(AesCbcAlgorithm(), &handle, nullptr, 0,
                                        const_cast<PUCHAR>(key.data()), static_cast<ULONG>(key.size()), 0),
             operation);
    CngKey owner(handle);
    Aes128Iv chain = iv;  // CNG leaves the last block in the IV buffer
    std::string out(blocks.size(), '\0');
    auto* input = reinterpret_cast<PUCHAR>(const_cast<char*>(blocks.data()));
    auto* output = reinterpret_cast<PUCHAR>(out.data());
    // The length fits a ULONG: the callers stop at kAes128CbcMaxText + 16.
    auto size = static_cast<ULONG>(blocks.size());
    ULONG written = 0;
    CheckCng(encrypt ? BCryptEncrypt(owner.get(), input, size, nullptr, chain.data(),
                                     static_cast<ULONG>(chain.size()), output, size, &written, 0)
                     : BCryptDecrypt(owner.get(), input, size, nullptr, chain.data(),
                                     static_cast<ULONG>(chain.size()), output, size, &written, 0),
             operation);
    if (written != size)
        throw std::runtime_error(std::string(operation) + ": lunghezza del risultato inattesa");
    return out;
}

}  // namespace

std::string Aes128CbcEncryptBlocks(const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks) {
    return Run(true, key, iv, blocks);
}

std::string Aes128CbcDecryptBlocks(const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks) {
    return Run(false, key, iv, blocks);
}

}  // namespace calvorin
