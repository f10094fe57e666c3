#include "ToolFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace mqtool {

namespace {

std::string failure(const char* what, const std::string& path, int error) {
    return std::string("sorry, ") + what + " '" + path + "' (" + std::strerror(error) + ")";
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closing can report a failed write-back, so the writer closes explicitly and checks.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

} // namespace

FileBytes readFilePrefix(const std::string& path, std::size_t limit) {
    FileBytes result;
    // Non-blocking, so that opening a FIFO cannot wait forever for a writer; only plain files
    // are read (a pipe or a device could block or never end).
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        result.error = failure("file failed to open:", path, errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && S_ISDIR(info.st_mode)) {
        result.error = failure("file failed to open:", path, EISDIR);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = "sorry, file failed to open: '" + path + "' (not a plain file)";
        return result;
    }
    // One byte past the limit tells whether the file goes on.
    result.bytes.resize(limit + 1);
    std::size_t filled = 0;
    while (filled < result.bytes.size()) {
        const ssize_t got = ::read(fd.get(), result.bytes.data() + filled, result.bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result.error = failure("file failed to read:", path, errno);
            result.bytes.clear();
            return result;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    result.truncated = filled > limit;
    result.bytes.resize(filled > limit ? limit : filled);
    return result;
}

std::string writeFileReplacing(const std::string& path, const std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (target.filename().empty())
        return failure("file failed to open:", path, EISDIR);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return failure("file failed to open:", path, EISDIR);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        return failure("file failed to open:", path, errno);

    // mkstemp creates the file private; give it what a plain create would (or keep the mode of
    // the file it replaces).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        mode = existing.st_mode & 07777;
    ::fchmod(fd.get(), mode);

    const auto abandon = [&temp, &path](int error) {
        ::unlink(temp.c_str());
        return failure("file failed to write:", path, error);
    };
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return abandon(put < 0 ? errno : EIO);
        written += static_cast<std::size_t>(put);
    }
    if (::fsync(fd.get()) != 0)
        return abandon(errno);
    if (fd.close() != 0)
        return abandon(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return abandon(errno);
    return {};
}

} // namespace mqtool
