#include "StandardStreams.h"

#include "CommandLine.h"
#include "files/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace mqtool {

namespace {

// Windows opens the standard streams in text mode, which would turn CR LF and 0x1A in binary
// data; Unix has no such mode.
void makeBinary(std::FILE* stream) {
#if defined(_WIN32)
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

std::string reason(int error) {
    return error != 0 ? std::strerror(error) : "input/output error";
}

InputBytes readStandardInput(std::uint64_t limit) {
    InputBytes result;
    makeBinary(stdin);
    constexpr std::size_t kChunk = 64 * 1024;
    try {
        // One byte past the limit tells whether the input goes on.
        while (result.bytes.size() <= limit) {
            const std::size_t before = result.bytes.size();
            const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, limit + 1 - before));
            result.bytes.resize(before + want);
            errno = 0;
            const std::size_t got = std::fread(result.bytes.data() + before, 1, want, stdin);
            result.bytes.resize(before + got);
            if (got < want) {
                if (std::ferror(stdin)) {
                    result.error = "sorry, file failed to open: standard input (" + reason(errno) + ")";
                    result.bytes.clear();
                    return result;
                }
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        result.error = "sorry, file failed to open: standard input (not enough memory)";
        result.bytes.clear();
        return result;
    }
    result.truncated = result.bytes.size() > limit;
    if (result.truncated)
        result.bytes.resize(static_cast<std::size_t>(limit));
    return result;
}

} // namespace

void useBinaryStandardStreams() {
    makeBinary(stdin);
    makeBinary(stdout);
}

InputBytes readInput(const std::string& path, std::uint64_t limit) {
    if (isStandardStream(path))
        return readStandardInput(limit);
    files::ReadResult read = files::readFile(path, limit, files::BeyondLimit::KeepPrefix);
    InputBytes result;
    if (!read.ok()) {
        result.error = "sorry, file failed to open: " + read.message;
        return result;
    }
    result.bytes = std::move(read.bytes);
    result.truncated = read.truncated;
    return result;
}

std::string writeOutput(const std::string& path, std::string_view bytes) {
    if (isStandardStream(path)) {
        makeBinary(stdout);
        errno = 0;
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
            return "sorry, file could not be written: standard output (" + reason(errno) + ")";
        return {};
    }
    // The path's bytes as given: a name that is not UTF-8 is written under exactly that name.
    const files::WriteResult written = files::writeFile(path, bytes);
    return written.ok() ? std::string() : "sorry, file could not be written: " + written.message;
}

} // namespace mqtool
