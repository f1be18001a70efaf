// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/zip/ZipReader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "archives/Cryptor.h"
#include "archives/ZipErrors.h"
#include "platform/text/Encoding.h"
#include "support/zip/RawInflate.h"

namespace calvorin {
namespace {

std::uint16_t GetLe16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t GetLe32(const unsigned char* p) {
    return GetLe16(p) | (static_cast<std::uint32_t>(GetLe16(p + 2)) << 16);
}

constexpr std::size_t kMaxCommentSize = 0xFFFF;
constexpr std::size_t kReadChunkSize = std::size_t{64} * 1024;

[[noreturn]] void ThrowCorrupt(std::string_view what) {
    throw EZipException("Archivio ZIP danneggiato: " + std::string(what));
}

void CheckRange(std::uint64_t offset, std::size_t size, std::uint64_t total) {
    if (offset > total || size > total - offset) ThrowCorrupt("dati oltre la fine del file");
}

struct EndRecord {
    std::uint16_t entryCount = 0;
    std::uint32_t directorySize = 0;
    std::uint32_t directoryOffset = 0;
};

EndRecord ParseEndRecord(const unsigned char* p, std::uint64_t position) {
    std::uint16_t entriesHere = GetLe16(p + 8);
    EndRecord end{GetLe16(p + 10), GetLe32(p + 12), GetLe32(p + 16)};
    if (GetLe16(p + 4) != 0 || GetLe16(p + 6) != 0 || entriesHere != end.entryCount)
        throw EZipException("Archivi ZIP su più dischi non supportati");
    if (end.entryCount == 0xFFFF || end.directorySize == 0xFFFFFFFF || end.directoryOffset == 0xFFFFFFFF)
        throw EZipException("Archivi ZIP64 non supportati");
    if (std::uint64_t{end.directoryOffset} + end.directorySize > position)
        ThrowCorrupt("directory centrale fuori dai limiti");
    return end;
}

// The end record is the last one whose comment fits in the file; it lies within the last 64 KiB + 22.
EndRecord FindEndRecord(const ByteSource& source) {
    const std::uint64_t size = source.Size();
    if (size < kEndRecordSize) ThrowCorrupt("record finale non trovato");
    const auto tailSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndRecordSize + kMaxCommentSize));
    std::vector<unsigned char> tail(tailSize);
    source.ReadAt(size - tailSize, tail.data(), tailSize);
    for (std::size_t i = tailSize - kEndRecordSize + 1; i-- > 0;) {
        const unsigned char* p = tail.data() + i;
        if (GetLe32(p) == kEndRecordSignature && i + kEndRecordSize + GetLe16(p + 20) <= tailSize)
            return ParseEndRecord(p, size - tailSize + i);
    }
    ThrowCorrupt("record finale non trovato");
}

// Parses one central header at `p` with `available` bytes; returns its length.
std::size_t ParseCentralHeader(const unsigned char* p, std::size_t available, ZipEntryHeader& entry) {
    if (available < kCentralHeaderSize || GetLe32(p) != kCentralHeaderSignature)
        ThrowCorrupt("intestazione della directory centrale non valida");
    std::size_t nameSize = GetLe16(p + 28);
    std::size_t length = kCentralHeaderSize + nameSize + GetLe16(p + 30) + GetLe16(p + 32);
    if (available < length) ThrowCorrupt("directory centrale troncata");
    entry.versionMadeBy = GetLe16(p + 4);
    entry.versionNeeded = GetLe16(p + 6);
    entry.flags = GetLe16(p + 8);
    entry.method = GetLe16(p + 10);
    entry.dosTime = GetLe16(p + 12);
    entry.dosDate = GetLe16(p + 14);
    entry.crc32 = GetLe32(p + 16);
    entry.compressedSize = GetLe32(p + 20);
    entry.uncompressedSize = GetLe32(p + 24);
    entry.externalAttributes = GetLe32(p + 38);
    entry.localHeaderOffset = GetLe32(p + 42);
    entry.name.assign(reinterpret_cast<const char*>(p + kCentralHeaderSize), nameSize);
    return length;
}

std::vector<ZipEntryHeader> ReadDirectory(const ByteSource& source, const EndRecord& end) {
    if (std::uint64_t{end.entryCount} * kCentralHeaderSize > end.directorySize)
        ThrowCorrupt("directory centrale troppo corta");
    std::vector<unsigned char> directory(end.directorySize);
    source.ReadAt(end.directoryOffset, directory.data(), directory.size());
    std::vector<ZipEntryHeader> entries(end.entryCount);
    std::size_t position = 0;
    for (ZipEntryHeader& entry : entries)
        position += ParseCentralHeader(directory.data() + position, directory.size() - position, entry);
    return entries;
}

// Counts and checksums the plain data, refusing more than the header announced.
class CheckedSink {
  public:
    CheckedSink(const ZipEntryHeader& entry, const ChunkSink& sink) : entry_(entry), sink_(sink) {}

    void operator()(std::uint8_t* data, std::size_t size) {
        if (size > entry_.uncompressedSize - count_) ThrowCorrupt("dati oltre la dimensione dichiarata");
        count_ += size;
        crc_ = crc32(crc_, data, static_cast<uInt>(size));
        sink_(data, size);
    }
    void Verify() const {
        if (count_ != entry_.uncompressedSize) ThrowCorrupt("dimensione errata di " + entry_.name);
        if (crc_ != entry_.crc32) ThrowCorrupt("CRC errato di " + entry_.name);
    }

  private:
    const ZipEntryHeader& entry_;
    const ChunkSink& sink_;
    std::uint64_t count_ = 0;
    uLong crc_ = crc32(0, nullptr, 0);
};

}  // namespace

void MemoryByteSource::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
    CheckRange(offset, size, bytes_.size());
    if (size > 0) std::memcpy(data, bytes_.data() + offset, size);
}

FileByteSource::FileByteSource(const std::filesystem::path& path)
    : file_(FileHandle::OpenForReading(path)), size_(file_.Size()) {}

void FileByteSource::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
    CheckRange(offset, size, size_);
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        std::size_t n = file_.ReadSomeAt(offset, bytes, size);
        if (n == 0) ThrowCorrupt("file troncato durante la lettura");
        bytes += n;
        offset += n;
        size -= n;
    }
}

ZipReader::ZipReader(const ByteSource& source, const std::string& password)
    : source_(source),
      keyPassword_(Utf8ToCp1252(password)),
      entries_(ReadDirectory(source, FindEndRecord(source))) {}

std::uint64_t ZipReader::DataOffset(const ZipEntryHeader& entry) const {
    std::array<unsigned char, kLocalHeaderSize> header{};
    source_.ReadAt(entry.localHeaderOffset, header.data(), header.size());
    if (GetLe32(header.data()) != kLocalHeaderSignature) ThrowCorrupt("intestazione locale non valida");
    std::uint64_t offset = std::uint64_t{entry.localHeaderOffset} + kLocalHeaderSize +
                           GetLe16(header.data() + 26) + GetLe16(header.data() + 28);
    CheckRange(offset, entry.compressedSize, source_.Size());
    return offset;
}

// Where the entry's data lies in the source.
struct ZipReader::DataRange {
    std::uint64_t offset = 0;
    std::uint64_t remaining = 0;
};

// Reads and checks the encryption header; returns the cryptor ready for the data that follows it.
TCryptor ZipReader::OpenCipher(const ZipEntryHeader& entry, DataRange& range) const {
    if (keyPassword_.empty()) throw EZipNoPassword();
    if (range.remaining < kEncryptionHeaderSize) ThrowCorrupt("intestazione di cifratura troncata");
    std::array<std::uint8_t, kEncryptionHeaderSize> check{};
    source_.ReadAt(range.offset, check.data(), check.size());
    TCryptor cryptor;
    cryptor.InitKeys(keyPassword_);
    cryptor.DecryptBuffer(check.data(), check.size());
    // Only the CRC's high byte is accepted as check byte (never the time, used with data descriptors).
    if (check.back() != static_cast<std::uint8_t>(entry.crc32 >> 24)) throw EZipInvalidPassword();
    range.offset += kEncryptionHeaderSize;
    range.remaining -= kEncryptionHeaderSize;
    return cryptor;
}

void ZipReader::Extract(const ZipEntryHeader& entry, const ChunkSink& sink) const {
    if (entry.method != kMethodStored && entry.method != kMethodDeflate)
        throw EZipException("Metodo di compressione non supportato: " + std::to_string(entry.method));
    DataRange range{DataOffset(entry), entry.compressedSize};
    std::optional<TCryptor> cryptor;
    if (entry.Encrypted()) cryptor = OpenCipher(entry, range);
    CheckedSink checked(entry, sink);
    ChunkSink forward = [&](std::uint8_t* data, std::size_t size) { checked(data, size); };
    std::optional<RawInflater> inflater;
    if (entry.method == kMethodDeflate) inflater.emplace();
    bool ended = !inflater;
    std::vector<std::uint8_t> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(range.remaining, kReadChunkSize)));
    while (range.remaining > 0 && !(inflater && ended)) {
        auto n = static_cast<std::size_t>(std::min<std::uint64_t>(range.remaining, buffer.size()));
        source_.ReadAt(range.offset, buffer.data(), n);
        range.offset += n;
        range.remaining -= n;
        if (cryptor) cryptor->DecryptBuffer(buffer.data(), n);
        if (inflater)
            ended = inflater->Decompress(buffer.data(), n, forward);
        else
            forward(buffer.data(), n);
    }
    if (!ended) ThrowCorrupt("dati compressi troncati di " + entry.name);
    checked.Verify();
}

std::string ZipReader::ExtractToString(const ZipEntryHeader& entry) const {
    std::string out;
    Extract(entry,
            [&](std::uint8_t* data, std::size_t size) { out.append(reinterpret_cast<char*>(data), size); });
    return out;
}

}  // namespace calvorin
