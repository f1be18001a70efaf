// SPDX-License-Identifier: GPL-3.0-or-later
// calvorin-pack: packs files the way the archive builder does, or runs the bare zlib loop that bounds it.
//
//   calvorin-pack [--threads N] [--progress] ARCHIVE PASSWORD FILE...
//       TEncryptedZipFile (N deflate threads, 0 = one per core; progress reported through a log as the
//       window gets it), entries named by bare file name
//   calvorin-pack --bare OUTPUT PASSWORD FILE...
//       CRC pass + raw deflate + cipher per file, one thread, no container
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "archives/Cryptor.h"
#include "archives/EncryptedZipFile.h"
#include "platform/fs/FileHandle.h"
#include "platform/os/PathText.h"
#include "platform/os/Process.h"
#include "plugin/log/Log.h"

namespace {

constexpr std::size_t kChunk = 256 * 1024;  // the writer's buffer sizes, for a like-for-like limit

unsigned gThreads = 0;
bool gProgress = false;

// Progress as the window gets it: the log's throttle and text, drawn nowhere.
class ProgressOnly : public calvorin::LogSink {
  public:
    void AppendLine(const calvorin::StyledLine&) override {}
    void ShowProgress(const calvorin::ProgressState& state) override { last = state.Text(); }
    std::string last;
};

void Pack(const std::string& archive, const std::string& password, const std::vector<std::string>& files) {
    calvorin::TEncryptedZipFile zip(password);
    zip.SetThreads(gThreads);
    ProgressOnly sink;
    calvorin::Log log(sink);
    std::uint64_t total = 0, done = 0;
    for (const std::string& file : files) total += std::filesystem::file_size(calvorin::Utf8Path(file));
    if (gProgress) zip.SetProgress([&](std::uint64_t bytes) { log.Progress(done += bytes, total); });
    zip.Open(calvorin::Utf8Path(archive));
    for (const std::string& file : files) {
        const std::filesystem::path path = calvorin::Utf8Path(file);
        zip.Add(path, calvorin::PathText(path.filename()));
    }
    zip.Close();
}

// A file read or written in order, for the bare loop.
struct Sequential {
    calvorin::FileHandle file;
    std::uint64_t at = 0;

    std::size_t Read(std::vector<unsigned char>& buffer) {
        const std::size_t n = file.ReadSomeAt(at, buffer.data(), buffer.size());
        at += n;
        return n;
    }
    void Write(const unsigned char* data, std::size_t size) {
        file.WriteAt(at, data, size);
        at += size;
    }
};

void DeflateFile(Sequential& in, Sequential& out, z_stream& z, calvorin::TCryptor& cryptor,
                 std::vector<unsigned char>& input, std::vector<unsigned char>& output) {
    for (bool finish = false; !finish;) {
        std::size_t n = in.Read(input);
        finish = n == 0;
        z.next_in = input.data();
        z.avail_in = static_cast<uInt>(n);
        int rc = Z_OK;
        do {
            z.next_out = output.data();
            z.avail_out = static_cast<uInt>(output.size());
            rc = deflate(&z, finish ? Z_FINISH : Z_NO_FLUSH);
            std::size_t produced = output.size() - z.avail_out;
            cryptor.EncryptBuffer(output.data(), produced);
            out.Write(output.data(), produced);
        } while (z.avail_out == 0 || (finish && rc != Z_STREAM_END));
    }
}

void Bare(const std::string& outputPath, const std::string& password, const std::vector<std::string>& files) {
    Sequential out{calvorin::FileHandle::CreateForWriting(calvorin::Utf8Path(outputPath))};
    std::vector<unsigned char> input(kChunk), output(kChunk);
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    for (const std::string& file : files) {
        Sequential in{calvorin::FileHandle::OpenForReading(calvorin::Utf8Path(file))};
        uLong crc = crc32(0, nullptr, 0);
        for (std::size_t n; (n = in.Read(input)) > 0;) crc = crc32(crc, input.data(), static_cast<uInt>(n));
        in.at = 0;
        calvorin::TCryptor cryptor;
        cryptor.InitKeys(password);
        unsigned char header[12] = {0};
        header[11] = static_cast<unsigned char>(crc >> 24);
        cryptor.EncryptBuffer(header, sizeof header);
        out.Write(header, sizeof header);
        deflateReset(&z);
        DeflateFile(in, out, z, cryptor, input, output);
    }
    deflateEnd(&z);
}

}  // namespace

int main(int argc, char** argv) {
    // UTF-8 on every system: Windows hands its command line over in UTF-16.
    const std::vector<std::string> arguments = calvorin::ProgramArguments(argc, argv);
    const std::size_t count = arguments.size();
    bool bare = count > 0 && arguments[0] == "--bare";
    std::size_t first = bare ? 1 : 0;
    for (bool option = !bare; option && count > first;) {
        if (arguments[first] == "--threads" && count > first + 1) {
            gThreads = static_cast<unsigned>(std::strtoul(arguments[first + 1].c_str(), nullptr, 10));
            first += 2;
        } else if (arguments[first] == "--progress") {
            gProgress = true;
            ++first;
        } else {
            option = false;
        }
    }
    if (count < first + 2) {
        std::fprintf(stderr,
                     "usage: calvorin-pack [--bare | --threads N --progress] OUTPUT PASSWORD FILE...\n");
        return 2;
    }
    const std::vector<std::string> files(arguments.begin() + static_cast<long>(first) + 2, arguments.end());
    try {
        (bare ? Bare : Pack)(arguments[first], arguments[first + 1], files);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "calvorin-pack: %s\n", error.what());
        return 1;
    }
    return 0;
}
