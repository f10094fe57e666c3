// The Windows system calls behind Files.cpp.
#ifdef _WIN32

#include "files/PlatformFiles.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <algorithm>
#include <windows.h>

namespace files {

namespace {

HANDLE native(FileOps::Handle handle) {
    return reinterpret_cast<HANDLE>(handle);
}
FileOps::Handle wrap(HANDLE handle) {
    return reinterpret_cast<FileOps::Handle>(handle);
}

int lastError() {
    return static_cast<int>(::GetLastError());
}

constexpr DWORD kMaxIo = DWORD{1} << 30;

class WindowsFileOps final : public FileOps {
public:
    int create(const std::filesystem::path& path, Handle& handle) override {
        const HANDLE created = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE)
            return lastError();
        handle = wrap(created);
        return 0;
    }

    int write(Handle handle, const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        DWORD put = 0;
        if (!::WriteFile(native(handle), data, static_cast<DWORD>(std::min<std::size_t>(size, kMaxIo)), &put,
                         nullptr))
            return lastError();
        written = put;
        return 0;
    }

    // ReplaceFileW gives the new file the replaced file's attributes, security and streams.
    int keepAttributes(Handle, const std::filesystem::path&) override { return 0; }

    int sync(Handle handle) override { return ::FlushFileBuffers(native(handle)) ? 0 : lastError(); }

    int close(Handle handle) override { return ::CloseHandle(native(handle)) ? 0 : lastError(); }

    int replace(const std::filesystem::path& from, const std::filesystem::path& to, bool toExists) override {
        if (toExists) {
            // Full paths: Wine's ReplaceFileW fails with ERROR_DIRECTORY on relative ones and on
            // "\folder\file" without a drive, which Windows accepts.
            std::error_code ec;
            const std::filesystem::path fullTo = std::filesystem::absolute(to, ec);
            const std::filesystem::path fullFrom = ec ? from : std::filesystem::absolute(from, ec);
            const bool full = !ec;
            if (::ReplaceFileW((full ? fullTo : to).c_str(), (full ? fullFrom : from).c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
                return 0;
            const DWORD error = ::GetLastError();
            // Some file systems (FAT, some network shares) cannot replace; a plain move still
            // replaces in one step.
            if (error != ERROR_INVALID_FUNCTION && error != ERROR_NOT_SUPPORTED &&
                error != ERROR_INVALID_PARAMETER)
                return static_cast<int>(error);
        }
        return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? 0
                   : lastError();
    }

    int remove(const std::filesystem::path& path) override {
        return ::DeleteFileW(path.c_str()) ? 0 : lastError();
    }

    // MOVEFILE_WRITE_THROUGH returns only once the move is on the disk, and NTFS journals the
    // rename; a folder cannot be flushed without backup rights.
    int syncFolder(const std::filesystem::path&) override { return 0; }

    std::string describe(int error) const override { return platform::describe(error); }
};

} // namespace

FileOps& systemFileOps() {
    static WindowsFileOps ops;
    return ops;
}

namespace platform {

int openForReading(const std::filesystem::path& path, Handle& handle, Kind& kind, std::uint64_t& size) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        kind = Kind::Folder;
        return 0;
    }
    const HANDLE opened =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return lastError();
    LARGE_INTEGER length{};
    if (::GetFileType(opened) != FILE_TYPE_DISK || !::GetFileSizeEx(opened, &length)) {
        ::CloseHandle(opened);
        kind = Kind::Other;
        return 0;
    }
    kind = Kind::Regular;
    size = static_cast<std::uint64_t>(length.QuadPart);
    handle = wrap(opened);
    return 0;
}

int readSome(Handle handle, std::uint8_t* data, std::size_t size, std::size_t& got) {
    DWORD read = 0;
    if (!::ReadFile(native(handle), data, static_cast<DWORD>(std::min<std::size_t>(size, kMaxIo)), &read,
                    nullptr))
        return lastError();
    got = read;
    return 0;
}

void closeReading(Handle handle) {
    if (handle != -1)
        ::CloseHandle(native(handle));
}

int checkWritable(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    return (attributes & FILE_ATTRIBUTE_READONLY) ? ERROR_ACCESS_DENIED : 0;
}

bool isNotFound(int error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
bool isAlreadyExists(int error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}
int ioError() {
    return ERROR_WRITE_FAULT;
}

std::string describe(int error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result;
    if (length != 0 && text) {
        const int bytes =
            ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(std::max(bytes, 0)));
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), result.data(), bytes, nullptr,
                              nullptr);
    }
    if (text)
        ::LocalFree(text);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == '.' || result.back() == ' '))
        result.pop_back();
    return result.empty() ? "system error " + std::to_string(error) : result;
}

} // namespace platform

} // namespace files

#endif
