// SPDX-License-Identifier: GPL-3.0-or-later
// Reads ZIP archives back for the tests and the fuzz targets: the central directory, and each entry
// inflated, decrypted and checked. The program itself only writes archives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "archives/Cryptor.h"
#include "archives/RawDeflate.h"
#include "archives/ZipLayout.h"
#include "platform/fs/FileHandle.h"

namespace calvorin {

// Random-access bytes of an archive.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `size` bytes at `offset`. Throws EZipException when they lie past the end.
    virtual void ReadAt(std::uint64_t offset, void* data, std::size_t size) const = 0;
};

// An archive held in memory; the bytes must outlive the source.
class MemoryByteSource : public ByteSource {
  public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    void ReadAt(std::uint64_t offset, void* data, std::size_t size) const override;

  private:
    std::string_view bytes_;
};

// An archive file. Throws std::runtime_error when it cannot be opened.
class FileByteSource : public ByteSource {
  public:
    explicit FileByteSource(const std::filesystem::path& path);
    std::uint64_t Size() const override { return size_; }
    void ReadAt(std::uint64_t offset, void* data, std::size_t size) const override;

  private:
    FileHandle file_;
    std::uint64_t size_;
};

// Reads any input without crashing: whatever is malformed raises EZipException.
class ZipReader {
  public:
    // Reads the end record and the central directory. `password` (UTF-8, converted to Windows-1252)
    // opens encrypted entries. Throws EZipException when the archive is malformed or needs ZIP64 or
    // several disks. The source must outlive the reader.
    ZipReader(const ByteSource& source, const std::string& password);

    const std::vector<ZipEntryHeader>& Entries() const { return entries_; }

    // Streams the entry's plain data to `sink` in chunks, then checks its size and CRC-32. Throws
    // EZipNoPassword for an encrypted entry without a password, EZipInvalidPassword when the check byte
    // does not match, EZipException when the data is corrupt or the method is neither stored nor deflate.
    void Extract(const ZipEntryHeader& entry, const ChunkSink& sink) const;

    // The entry's plain data as a whole; for small entries.
    std::string ExtractToString(const ZipEntryHeader& entry) const;

  private:
    struct DataRange;
    std::uint64_t DataOffset(const ZipEntryHeader& entry) const;
    TCryptor OpenCipher(const ZipEntryHeader& entry, DataRange& range) const;

    const ByteSource& source_;
    std::string keyPassword_;
    std::vector<ZipEntryHeader> entries_;
};

}  // namespace calvorin
