#pragma once

// The one way this program reads and writes whole files: the editor's Save and Batnames export,
// its OvData and picture reading, and every input and output of mapquill-tool go through here.
// Standard C++; the system calls live in one file per platform (PosixFiles.cpp, WindowsFiles.cpp).
//
// Writing (writeFile) never damages the file that was there:
//  - A symbolic link is written through: the file it points at gets the new content and the link
//    stays. A link that points at nothing creates the file it names, as any program writing through
//    it would (its folder must exist).
//  - An existing target that is not a regular file (a folder, a device such as /dev/null, a FIFO, a
//    socket) is refused and left exactly as it is. So is a read-only file (no write permission bit
//    at all, whoever the user is; on Windows the read-only attribute), and a file the user may not
//    write.
//  - The bytes go to a new temporary file in the target's folder, named
//        .<target name>.mapquill-<6 letters or digits>.tmp
//    (hidden, never a name the program opens as data; the target name part is cut to 64 bytes).
//    Every write, the sync to the disk and the close are checked. The old file's permission bits
//    and, where the process may set them, owner and group are given to the new file; then it is
//    renamed over the target in one step and the folder is synced, so a crash leaves either the
//    old or the new file. On every failure the temporary file is removed; one left behind by a
//    killed process is recognised by its name and may be deleted.
//  - A message names the file and the system's reason ("No space left on device").
//  - Path bytes are used exactly as given: no re-encoding of names.
//
// Reading (readFile) opens regular files only (never waits on a FIFO, never reads a device that
// does not end) and never holds more than its limit in memory.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace files {

// ---- reading --------------------------------------------------------------------------------

enum class ReadProblem {
    None,
    NotFound,   // nothing at that path
    Folder,     // a folder
    NotRegular, // a device, FIFO, socket: could block or never end
    TooLarge,   // more bytes than the limit (BeyondLimit::Refuse only)
    Unreadable, // could not be opened or read (permissions, I/O error)
};

enum class BeyondLimit {
    Refuse,     // a file over the limit is refused before a byte is read
    KeepPrefix, // the first `limit` bytes are returned and `truncated` is set
};

struct ReadResult {
    std::vector<std::uint8_t> bytes;
    bool truncated = false;
    ReadProblem problem = ReadProblem::None;
    std::string message; // "'<path>' (<reason>)" when a problem is set
    bool ok() const { return problem == ReadProblem::None; }
};

ReadResult readFile(const std::filesystem::path& path, std::uint64_t limit,
                    BeyondLimit beyond = BeyondLimit::Refuse);

// ---- writing --------------------------------------------------------------------------------

// The system steps of a write, so tests can make any one of them fail. Each returns 0 or the
// system's error code (errno on POSIX, GetLastError() on Windows).
class FileOps {
public:
    using Handle = std::intptr_t;
    virtual ~FileOps() = default;
    // Creates `path` new and exclusively (fails if it exists), open for writing.
    virtual int create(const std::filesystem::path& path, Handle& handle) = 0;
    virtual int write(Handle handle, const std::uint8_t* data, std::size_t size, std::size_t& written) = 0;
    // Gives the new file the permission bits, owner and group of `original` (as far as allowed).
    virtual int keepAttributes(Handle handle, const std::filesystem::path& original) = 0;
    virtual int sync(Handle handle) = 0; // fsync / FlushFileBuffers
    // The flush: closing hands over the last data, and some file systems (NFS, quotas) report a
    // failed write only here.
    virtual int close(Handle handle) = 0;
    virtual int replace(const std::filesystem::path& from, const std::filesystem::path& to,
                        bool toExists) = 0;
    virtual int remove(const std::filesystem::path& path) = 0;
    virtual int syncFolder(const std::filesystem::path& folder) = 0;
    // The system's text for an error code, e.g. "No space left on device".
    virtual std::string describe(int error) const = 0;
};

// The real system calls.
FileOps& systemFileOps();

struct WriteResult {
    std::string message; // empty on success; otherwise names the file and the reason
    bool ok() const { return message.empty(); }
};

WriteResult writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                      FileOps& ops = systemFileOps());
WriteResult writeFile(const std::filesystem::path& path, std::string_view bytes,
                      FileOps& ops = systemFileOps());

// The marks of a temporary file of writeFile: ".<name>.mapquill-XXXXXX.tmp".
inline constexpr std::string_view kTempInfix = ".mapquill-";
inline constexpr std::string_view kTempSuffix = ".tmp";
bool isTemporaryName(const std::filesystem::path& name);

// A path as text for messages: its bytes on POSIX, UTF-8 on Windows.
std::string displayPath(const std::filesystem::path& path);

} // namespace files
