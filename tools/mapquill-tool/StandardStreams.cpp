#include "StandardStreams.h"

#include "CommandLine.h"

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

} // namespace

FileBytes readInput(const std::string& path, std::size_t limit) {
    if (!isStandardStream(path))
        return readFilePrefix(path, limit);
    FileBytes result;
    makeBinary(stdin);
    constexpr std::size_t kChunk = 64 * 1024;
    try {
        // One byte past the limit tells whether the input goes on.
        while (result.bytes.size() <= limit) {
            const std::size_t before = result.bytes.size();
            const std::size_t want = std::min(kChunk, limit + 1 - before);
            result.bytes.resize(before + want);
            errno = 0;
            const std::size_t got = std::fread(result.bytes.data() + before, 1, want, stdin);
            result.bytes.resize(before + got);
            if (got < want) {
                if (std::ferror(stdin)) {
                    result.error = "sorry, file failed to read: standard input (" + reason(errno) + ")";
                    result.bytes.clear();
                    return result;
                }
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        result.error = "sorry, file failed to read: standard input (not enough memory)";
        result.bytes.clear();
        return result;
    }
    result.truncated = result.bytes.size() > limit;
    if (result.truncated)
        result.bytes.resize(limit);
    return result;
}

std::string writeOutput(const std::string& path, std::string_view bytes) {
    if (!isStandardStream(path))
        return writeFileReplacing(path, std::string(bytes));
    makeBinary(stdout);
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        return "sorry, file failed to write: standard output (" + reason(errno) + ")";
    return {};
}

} // namespace mqtool
