// SPDX-License-Identifier: GPL-3.0-or-later
// A ZIP writer whose entries are deflated and, when the archive has a password, encrypted with the
// traditional PKWARE scheme.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archives/ParallelDeflate.h"
#include "archives/RawDeflate.h"
#include "archives/ZipLayout.h"
#include "platform/fs/FileHandle.h"

namespace calvorin {

// Writes an archive entry by entry, streaming each file through fixed-size buffers, so that memory use
// does not grow with the size of the files.
//
// Layout: version 2.0, method 8, flag bit 11 on every entry (UTF-8 names), bit 0 on encrypted ones,
// no data descriptors: CRC-32 and sizes are written into the local header after the data. An encrypted
// entry is read twice: once for the CRC-32 (its high byte is the check byte of the encryption header,
// which comes first), once to compress and encrypt it.
class TEncryptedZipFile {
  public:
    // `password` is UTF-8; it is converted to Windows-1252 for the keys. An empty one gives a plain ZIP.
    explicit TEncryptedZipFile(std::string password);
    // Closes an archive still open (writing its central directory), swallowing errors.
    ~TEncryptedZipFile();
    TEncryptedZipFile(const TEncryptedZipFile&) = delete;
    TEncryptedZipFile& operator=(const TEncryptedZipFile&) = delete;

    // Threads that deflate a large entry: 0 (the default) for one per core, 1 for the one-thread stream,
    // which gives the same bytes run after run. Entries smaller than two blocks always use one thread.
    void SetThreads(unsigned threads) { threads_ = threads; }

    // Called with the number of bytes of each piece of a file as it goes into the deflater, on the
    // thread that calls Add; with 0 for each piece read before, while a protected entry's checksum is
    // taken. It may throw: the entry and the archive are then left unfinished, as after a failed read.
    void SetProgress(std::function<void(std::uint64_t bytes)> onBytes) { onBytes_ = std::move(onBytes); }

    const std::string& Password() const { return password_; }
    bool HasPassword() const { return !password_.empty(); }
    bool IsOpen() const { return output_ != nullptr; }

    // Creates the archive file, or empties it when it exists. Throws std::runtime_error when it cannot
    // be created, EZipInvalidOperation when an archive is already open.
    void Open(const std::filesystem::path& archive);
    // Writes the archive into `output`, an empty file that the caller owns and closes; it must outlive
    // Close. Throws EZipInvalidOperation when an archive is already open.
    void Open(FileHandle& output);

    // Adds `file` as entry `entryName`, keeping its modification time and attributes. Throws
    // EZipInvalidOperation when no archive is open, EZipException when a limit of the ZIP format
    // (4 GiB, 65534 entries) would be passed, std::runtime_error on a read or write error. A failed
    // add leaves the archive as it was before it.
    void Add(const std::filesystem::path& file, std::string_view entryName);

    // Writes the central directory and closes the file (a file given to Open is left open, its end
    // written). Does nothing when no archive is open. Throws on a write error (the file is closed all the
    // same).
    void Close();

  private:
    struct SourceInfo;
    std::uint64_t WriteEntryData(const FileHandle& input, ZipEntryHeader& entry, const SourceInfo& source);
    // The workers for a file of this size, or null when it is packed on this thread.
    ParallelDeflater* ParallelFor(std::uint64_t fileSize);

    std::string password_;
    std::string keyPassword_;          // the password's Windows-1252 bytes
    std::optional<FileHandle> owned_;  // the file Open(path) created
    FileHandle* output_ = nullptr;
    std::uint64_t end_ = 0;  // where the next entry (or the central directory) starts
    std::vector<ZipEntryHeader> entries_;
    RawDeflater deflater_;
    unsigned threads_ = 0;
    std::function<void(std::uint64_t)> onBytes_;
    std::unique_ptr<ParallelDeflater> parallel_;  // made when the first large entry comes
    std::vector<std::uint8_t> input_;
};

}  // namespace calvorin
