// SPDX-License-Identifier: GPL-3.0-or-later
// calvorin-pack: packs files the way the archive builder does, or runs the bare zlib loop that bounds it.
//
//   calvorin-pack [--threads N] [--progress] ARCHIVE PASSWORD FILE...
//       TEncryptedZipFile (N deflate threads, 0 = one per core; progress reported through a log as the
//       window gets it), entries named by bare file name
//   calvorin-pack --bare OUTPUT PASSWORD FILE...
//       CRC pass + raw deflate + cipher per file, one thread, no container
#include <fcntl.h>
#include <unistd.h>
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

void Pack(const char* archive, const char* password, const std::vector<const char*>& files) {
    calvorin::TEncryptedZipFile zip(password);
    zip.SetThreads(gThreads);
    ProgressOnly sink;
    calvorin::Log log(sink);
    std::uint64_t total = 0, done = 0;
    for (const char* file : files) total += std::filesystem::file_size(file);
    if (gProgress) zip.SetProgress([&](std::uint64_t bytes) { log.Progress(done += bytes, total); });
    zip.Open(archive);
    for (const char* file : files) zip.Add(file, std::filesystem::path(file).filename().string());
    zip.Close();
}

// Owns a file descriptor for the bare loop.
struct Fd {
    int fd;
    explicit Fd(int value) : fd(value) {
        if (fd < 0) throw std::runtime_error(std::strerror(errno));
    }
    ~Fd() { ::close(fd); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

std::size_t ReadChunk(int fd, std::vector<unsigned char>& buffer) {
    ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) throw std::runtime_error(std::strerror(errno));
    return static_cast<std::size_t>(n);
}

void WriteAll(int fd, const unsigned char* data, std::size_t size) {
    if (::write(fd, data, size) != static_cast<ssize_t>(size)) throw std::runtime_error("write failed");
}

void DeflateFile(int in, int out, z_stream& z, calvorin::TCryptor& cryptor, std::vector<unsigned char>& input,
                 std::vector<unsigned char>& output) {
    for (bool finish = false; !finish;) {
        std::size_t n = ReadChunk(in, input);
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
            WriteAll(out, output.data(), produced);
        } while (z.avail_out == 0 || (finish && rc != Z_STREAM_END));
    }
}

void Bare(const char* outputPath, const char* password, const std::vector<const char*>& files) {
    Fd out(::open(outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0644));
    std::vector<unsigned char> input(kChunk), output(kChunk);
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    for (const char* file : files) {
        Fd in(::open(file, O_RDONLY));
        uLong crc = crc32(0, nullptr, 0);
        for (std::size_t n; (n = ReadChunk(in.fd, input)) > 0;)
            crc = crc32(crc, input.data(), static_cast<uInt>(n));
        ::lseek(in.fd, 0, SEEK_SET);
        calvorin::TCryptor cryptor;
        cryptor.InitKeys(password);
        unsigned char header[12] = {0};
        header[11] = static_cast<unsigned char>(crc >> 24);
        cryptor.EncryptBuffer(header, sizeof header);
        WriteAll(out.fd, header, sizeof header);
        deflateReset(&z);
        DeflateFile(in.fd, out.fd, z, cryptor, input, output);
    }
    deflateEnd(&z);
}

}  // namespace

int main(int argc, char** argv) {
    bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
    int first = bare ? 2 : 1;
    for (bool option = !bare; option && argc > first;) {
        if (std::strcmp(argv[first], "--threads") == 0 && argc > first + 1) {
            gThreads = static_cast<unsigned>(std::strtoul(argv[first + 1], nullptr, 10));
            first += 2;
        } else if (std::strcmp(argv[first], "--progress") == 0) {
            gProgress = true;
            ++first;
        } else {
            option = false;
        }
    }
    if (argc < first + 2) {
        std::fprintf(stderr,
                     "usage: calvorin-pack [--bare | --threads N --progress] OUTPUT PASSWORD FILE...\n");
        return 2;
    }
    std::vector<const char*> files(argv + first + 2, argv + argc);
    try {
        (bare ? Bare : Pack)(argv[first], argv[first + 1], files);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "calvorin-pack: %s\n", error.what());
        return 1;
    }
    return 0;
}
