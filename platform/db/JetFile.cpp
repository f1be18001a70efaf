// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/JetFile.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "platform/db/JetBytes.h"
#include "platform/db/Rc4.h"

namespace calvorin {
namespace {

constexpr std::size_t kMagicAt = 4;
constexpr std::string_view kJetMagic = "Standard Jet DB";
constexpr std::string_view kAceMagic = "Standard ACE DB";
// A 32-bit version: 0 for Jet 3, 1 for Jet 4, 2 to 6 for the ACE versions of Access 2007 to 2019.
constexpr std::size_t kVersionAt = 0x14;
constexpr std::uint32_t kLastAceVersion = 6;
// Only the mask's start is deciphered: the stream is the same whatever length the version masks.
constexpr std::size_t kHeaderRead = jet_header::kKeyAt + 4;

// How much is read at a time.
constexpr std::uint64_t kWindowBytes = std::uint64_t{256} * 1024;

[[noreturn]] void ThrowUnknownFormat() {
    throw std::runtime_error("formato Access non riconosciuto");
}

// Reads `size` bytes at `offset`; false when the file ends first.
bool ReadFully(const FileHandle& file, std::uint64_t offset, unsigned char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const std::size_t got = file.ReadSomeAt(offset + done, into + done, size - done);
        if (got == 0) return false;
        done += got;
    }
    return true;
}

}  // namespace

JetFile::JetFile(const std::filesystem::path& path) : file_(FileHandle::OpenForReading(path)) {
    std::array<unsigned char, kHeaderRead> header{};
    if (!ReadFully(file_, 0, header.data(), header.size())) ThrowUnknownFormat();
    const std::string_view magic(reinterpret_cast<const char*>(header.data()) + kMagicAt, kJetMagic.size());
    if (magic != kJetMagic && magic != kAceMagic) ThrowUnknownFormat();
    const std::uint32_t version = Le32(header.data() + kVersionAt);
    if (version > kLastAceVersion) ThrowUnknownFormat();
    version_ = version == 0 ? JetVersion::Jet3 : JetVersion::Jet4;
    pageSize_ = version_ == JetVersion::Jet3 ? 2048 : 4096;

    ApplyRc4(jet_header::kMaskKey, std::span(header).subspan(jet_header::kMaskedAt));
    key_ = Le32(header.data() + jet_header::kKeyAt);

    // A file cut short loses whole pages, and with them rows that would otherwise just be missing.
    const std::uint64_t size = file_.Size();
    if (size % pageSize_ != 0) throw std::runtime_error("file troncato");
    pageCount_ = size / pageSize_;
}

bool JetFile::ReadPage(std::uint64_t page, std::span<unsigned char> into) const {
    if (into.size() < pageSize_) throw std::invalid_argument("buffer smaller than a page");
    if (page >= pageCount_) return false;
    if (page < windowFirst_ || page >= windowFirst_ + windowPages_) {
        const std::uint64_t pages = std::min<std::uint64_t>(kWindowBytes / pageSize_, pageCount_ - page);
        window_.resize(static_cast<std::size_t>(pages) * pageSize_);
        windowPages_ = 0;  // until the read has gone through
        if (!ReadFully(file_, page * pageSize_, window_.data(), window_.size()))
            throw std::runtime_error("file troncato");
        windowFirst_ = page;
        windowPages_ = pages;
    }
    std::memcpy(into.data(), window_.data() + (page - windowFirst_) * pageSize_, pageSize_);
    if (key_ != 0 && page != 0) ApplyRc4(jet_header::PageKey(key_, page), into.first(pageSize_));
    return true;
}

}  // namespace calvorin
