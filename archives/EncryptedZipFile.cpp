// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/EncryptedZipFile.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "archives/Cryptor.h"
#include "archives/ZipErrors.h"
#include "platform/crypto/Random.h"
#include "platform/os/PathText.h"
#include "platform/text/Encoding.h"

namespace calvorin {
namespace {

constexpr std::size_t kInputChunkSize = std::size_t{256} * 1024;
constexpr std::size_t kDirectoryChunkSize = std::size_t{64} * 1024;

std::uint32_t Checked32(std::uint64_t value) {
    if (value > kMaxZip32Value)
        throw EZipException("L'archivio ZIP supererebbe i 4 GiB, che il formato non consente");
    return static_cast<std::uint32_t>(value);
}

// Reads the whole file in chunks, handing each to `consume`; returns the number of bytes read.
template <typename Consume>
std::uint64_t ForEachChunk(const FileHandle& input, std::vector<std::uint8_t>& buffer, Consume&& consume) {
    std::uint64_t offset = 0;
    for (;;) {
        std::size_t n = input.ReadSomeAt(offset, buffer.data(), buffer.size());
        if (n == 0) return offset;
        consume(buffer.data(), n);
        offset += n;
    }
}

// Reads the file from its start, piece after piece, telling `onBytes` (when set) of each piece.
ParallelDeflater::Reader ReaderOf(const FileHandle& input,
                                  const std::function<void(std::uint64_t)>& onBytes = {}) {
    return [&input, onBytes, offset = std::uint64_t{0}](std::uint8_t* buffer, std::size_t capacity) mutable {
        const std::size_t n = input.ReadSomeAt(offset, buffer, capacity);
        offset += n;
        if (onBytes && n > 0) onBytes(n);
        return n;
    };
}

struct Checksum {
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
};

Checksum ComputeChecksum(const FileHandle& input, std::vector<std::uint8_t>& buffer,
                         const std::function<void(std::uint64_t)>& onBytes) {
    uLong crc = crc32(0, nullptr, 0);
    std::uint64_t size = ForEachChunk(input, buffer, [&](const std::uint8_t* data, std::size_t n) {
        crc = crc32(crc, data, static_cast<uInt>(n));
        if (onBytes) onBytes(n);
    });
    return {static_cast<std::uint32_t>(crc), size};
}

// Eleven unpredictable bytes, then the check byte: the high byte of the plain data's CRC-32.
std::array<std::uint8_t, kEncryptionHeaderSize> EncryptionHeader(std::uint32_t crc) {
    std::array<std::uint8_t, kEncryptionHeaderSize> header{};
    std::string random = RandomBytes(kEncryptionHeaderSize - 1);
    std::memcpy(header.data(), random.data(), random.size());
    header.back() = static_cast<std::uint8_t>(crc >> 24);
    return header;
}

// Whole seconds of a file time, rounded down as listings round them.
std::time_t SecondsOf(std::int64_t nanoseconds) {
    constexpr std::int64_t kSecond = 1'000'000'000;
    const std::int64_t seconds = nanoseconds / kSecond;
    return static_cast<std::time_t>(nanoseconds % kSecond < 0 ? seconds - 1 : seconds);
}

void CheckAddable(const FileHandle& input, std::string_view entryName, std::size_t entryCount) {
    if (entryCount >= kMaxEntries) throw EZipException("L'archivio ZIP non può contenere più di 65534 file");
    if (entryName.size() > 0xFFFF)
        throw EZipException("Nome troppo lungo per l'archivio ZIP: " + std::string(entryName));
    const FileInfo info = input.Info();
    if (info.type != FileType::Regular)
        throw EZipException("Non è un file: \"" + PathText(input.Path()) + "\"");
    if (info.size > kMaxZip32Value)
        throw EZipException("Il file \"" + PathText(input.Path()) +
                            "\" supera i 4 GiB, che il formato ZIP non consente");
}

}  // namespace

struct TEncryptedZipFile::SourceInfo {
    FileInfo before;                    // taken before the first read
    std::optional<Checksum> firstPass;  // encrypted entries: the check byte needs the CRC-32 up front
};

namespace {

// Between two passes the data must stay the same, or the check byte and the CRC-32 would not match it.
// A write moves the modification and change times, so comparing them spares a second CRC-32 pass.
void CheckUnchanged(const FileHandle& input, const FileInfo& before, std::uint64_t firstSize,
                    std::uint64_t secondSize) {
    const FileInfo after = input.Info();
    if (firstSize != secondSize || after.size != before.size || after.modifiedNs != before.modifiedNs ||
        after.changedNs != before.changedNs) {
        throw std::runtime_error("Il file \"" + PathText(input.Path()) +
                                 "\" è cambiato durante la compressione");
    }
}

}  // namespace

TEncryptedZipFile::TEncryptedZipFile(std::string password)
    : password_(std::move(password)), keyPassword_(Utf8ToCp1252(password_)) {}

TEncryptedZipFile::~TEncryptedZipFile() {
    try {
        Close();
    } catch (...) {
        // A destructor must not throw; the caller that wants the error calls Close itself.
    }
}

void TEncryptedZipFile::Open(const std::filesystem::path& archive) {
    if (output_) throw EZipInvalidOperation();
    owned_.emplace(FileHandle::CreateForWriting(archive));
    Open(*owned_);
}

void TEncryptedZipFile::Open(FileHandle& output) {
    if (output_) throw EZipInvalidOperation();
    output_ = &output;
    end_ = 0;
    entries_.clear();
    input_.resize(kInputChunkSize);
}

void TEncryptedZipFile::Add(const std::filesystem::path& file, std::string_view entryName) {
    if (!output_) throw EZipInvalidOperation();
    FileHandle input = FileHandle::OpenForReading(file);
    CheckAddable(input, entryName, entries_.size());
    SourceInfo source;
    source.before = input.Info();
    const FileInfo& info = source.before;
    ZipEntryHeader entry;
    entry.flags = kFlagUtf8Name | (HasPassword() ? kFlagEncrypted : 0);
    DosDateTime modified = ToDosDateTime(SecondsOf(info.modifiedNs));
    entry.dosTime = modified.time;
    entry.dosDate = modified.date;
    entry.externalAttributes = DosAttributes(info);
    entry.localHeaderOffset = Checked32(end_);
    entry.name = std::string(entryName);
    if (HasPassword()) {
        // This pass only reads: its pieces count as no bytes packed, yet each lets the caller take input and
        // stop, as in the pass that packs.
        std::function<void(std::uint64_t)> onRead;
        if (onBytes_) onRead = [this](std::uint64_t) { onBytes_(0); };
        if (ParallelDeflater* parallel = ParallelFor(source.before.size)) {
            const ParallelDeflater::Result sum = parallel->Checksum(ReaderOf(input, onRead));
            source.firstPass = Checksum{sum.crc, sum.size};
        } else {
            source.firstPass = ComputeChecksum(input, input_, onRead);
        }
    }
    std::uint64_t entryEnd = WriteEntryData(input, entry, source);
    entries_.push_back(std::move(entry));
    end_ = entryEnd;
}

// Writes the local header, the data and the completed local header; returns where the data ends.
std::uint64_t TEncryptedZipFile::WriteEntryData(const FileHandle& input, ZipEntryHeader& entry,
                                                const SourceInfo& source) {
    std::string header = EncodeLocalHeader(entry);  // a placeholder until CRC and sizes are known
    output_->WriteAt(end_, header.data(), header.size());
    const std::uint64_t dataStart = end_ + header.size();
    std::uint64_t position = dataStart;
    std::optional<TCryptor> cryptor;
    ChunkSink write = [&](std::uint8_t* data, std::size_t size) {
        if (cryptor) cryptor->EncryptBuffer(data, size);
        output_->WriteAt(position, data, size);
        position += size;
    };
    if (entry.Encrypted()) {
        cryptor.emplace();
        cryptor->InitKeys(keyPassword_);
        auto check = EncryptionHeader(source.firstPass->crc);
        write(check.data(), check.size());
    }
    Checksum actual{static_cast<std::uint32_t>(crc32(0, nullptr, 0)), 0};
    if (ParallelDeflater* parallel = ParallelFor(source.before.size)) {
        const ParallelDeflater::Result result = parallel->Compress(ReaderOf(input, onBytes_), write);
        actual = {result.crc, result.size};
        // The workers summed the data again: a file changed between the passes shows here for sure.
        if (source.firstPass && actual.crc != source.firstPass->crc)
            throw std::runtime_error("Il file \"" + PathText(input.Path()) +
                                     "\" è cambiato durante la compressione");
    } else {
        deflater_.Reset();
        actual.size = ForEachChunk(input, input_, [&](std::uint8_t* data, std::size_t n) {
            if (!source.firstPass)
                actual.crc = static_cast<std::uint32_t>(crc32(actual.crc, data, static_cast<uInt>(n)));
            deflater_.Compress(data, n, false, write);
            if (onBytes_) onBytes_(n);
        });
        deflater_.Compress(nullptr, 0, true, write);
    }
    if (source.firstPass) {
        CheckUnchanged(input, source.before, source.firstPass->size, actual.size);
        actual.crc = source.firstPass->crc;
    }
    entry.crc32 = actual.crc;
    entry.uncompressedSize = Checked32(actual.size);
    entry.compressedSize = Checked32(position - dataStart);
    Checked32(position);  // the central directory must start below the limit too
    header = EncodeLocalHeader(entry);
    output_->WriteAt(end_, header.data(), header.size());
    return position;
}

ParallelDeflater* TEncryptedZipFile::ParallelFor(std::uint64_t fileSize) {
    const unsigned threads = CompressionThreads(threads_);
    if (threads < 2 || static_cast<std::uint64_t>(fileSize) < 2 * ParallelDeflater::kBlockSize)
        return nullptr;
    if (!parallel_ || parallel_->Threads() != threads)
        parallel_ = std::make_unique<ParallelDeflater>(threads);
    return parallel_.get();
}

void TEncryptedZipFile::Close() {
    if (!output_) return;
    // Closed from here on, whatever happens below; the file this object created is closed on the way out.
    std::optional<FileHandle> owned = std::exchange(owned_, std::nullopt);
    FileHandle& output = owned ? *owned : *output_;
    output_ = nullptr;
    std::uint64_t position = end_;
    std::string chunk;
    auto flush = [&] {
        output.WriteAt(position, chunk.data(), chunk.size());
        position += chunk.size();
        chunk.clear();
    };
    for (const ZipEntryHeader& entry : entries_) {
        chunk += EncodeCentralHeader(entry);
        if (chunk.size() >= kDirectoryChunkSize) flush();
    }
    const std::uint64_t directorySize = position + chunk.size() - end_;
    chunk += EncodeEndRecord(static_cast<std::uint16_t>(entries_.size()), Checked32(directorySize),
                             Checked32(end_));
    flush();
    output.Truncate(position);  // drops what a failed add may have left after the last entry
    if (owned) owned->Close();
}

}  // namespace calvorin
