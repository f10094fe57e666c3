// The POSIX system calls behind Files.cpp.
#ifndef _WIN32

#include "files/PlatformFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

int fd(FileOps::Handle handle) {
    return static_cast<int>(handle);
}

class PosixFileOps final : public FileOps {
public:
    int create(const std::filesystem::path& path, Handle& handle) override {
        // 0666 lets the umask decide for a new file; an existing target's bits are copied next.
        const int opened = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (opened < 0)
            return errno;
        handle = opened;
        return 0;
    }

    int write(Handle handle, const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        for (;;) {
            const ssize_t put = ::write(fd(handle), data, size);
            if (put >= 0) {
                written = static_cast<std::size_t>(put);
                return 0;
            }
            if (errno != EINTR)
                return errno;
        }
    }

    int keepAttributes(Handle handle, const std::filesystem::path& original) override {
        struct stat info {};
        if (::stat(original.c_str(), &info) != 0)
            return errno;
        // Only root may give a file away; anyone may keep the group if they belong to it. What
        // cannot be kept is not a reason to fail: the file then belongs to whoever saves it.
        if (::fchown(fd(handle), info.st_uid, info.st_gid) != 0)
            (void)::fchown(fd(handle), static_cast<uid_t>(-1), info.st_gid);
        // After the owner: a change of owner clears the set-ID bits.
        if (::fchmod(fd(handle), info.st_mode & 07777) != 0)
            return errno;
        return 0;
    }

    int sync(Handle handle) override { return ::fsync(fd(handle)) == 0 ? 0 : errno; }

    int close(Handle handle) override {
        // On Linux the descriptor is gone even when close is interrupted.
        return ::close(fd(handle)) == 0 || errno == EINTR ? 0 : errno;
    }

    int replace(const std::filesystem::path& from, const std::filesystem::path& to, bool) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }

    int remove(const std::filesystem::path& path) override { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

    int syncFolder(const std::filesystem::path& folder) override {
        const int opened = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // A folder the user may write but not read, or a file system that cannot sync folders,
        // leaves the rename as durable as the system makes it.
        if (opened < 0)
            return errno == EACCES ? 0 : errno;
        int error = ::fsync(opened) == 0 ? 0 : errno;
        if (error == EINVAL || error == ENOTSUP || error == EROFS)
            error = 0;
        ::close(opened);
        return error;
    }

    std::string describe(int error) const override { return platform::describe(error); }
};

} // namespace

FileOps& systemFileOps() {
    static PosixFileOps ops;
    return ops;
}

namespace platform {

int openForReading(const std::filesystem::path& path, Handle& handle, Kind& kind, std::uint64_t& size) {
    // Looked at before opening: opening a device can have effects of its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode)) {
        kind = S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
        return 0;
    }
    // Non-blocking: if the path became a FIFO since, opening it cannot wait for a writer.
    const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (opened < 0)
        return errno;
    if (::fstat(opened, &info) != 0) {
        const int error = errno;
        ::close(opened);
        return error;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(opened);
        kind = S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
        return 0;
    }
    kind = Kind::Regular;
    size = static_cast<std::uint64_t>(info.st_size);
    handle = opened;
    return 0;
}

int readSome(Handle handle, std::uint8_t* data, std::size_t size, std::size_t& got) {
    for (;;) {
        const ssize_t read = ::read(fd(handle), data, size);
        if (read >= 0) {
            got = static_cast<std::size_t>(read);
            return 0;
        }
        if (errno != EINTR)
            return errno;
    }
}

void closeReading(Handle handle) {
    if (handle >= 0)
        ::close(fd(handle));
}

int checkWritable(const std::filesystem::path& path) {
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

bool isNotFound(int error) {
    return error == ENOENT || error == ENOTDIR;
}
bool isAlreadyExists(int error) {
    return error == EEXIST;
}
int ioError() {
    return EIO;
}

std::string describe(int error) {
    return std::strerror(error);
}

} // namespace platform

} // namespace files

#endif
