#include "files/Files.h"

#include "files/PlatformFiles.h"

#include <algorithm>
#include <random>
#include <system_error>

namespace files {

namespace fs = std::filesystem;

std::string displayPath(const fs::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.native();
#endif
}

namespace {

std::string quoted(const fs::path& path) {
    return "'" + displayPath(path) + "'";
}

// ---- reading --------------------------------------------------------------------------------

ReadResult readProblem(ReadProblem problem, const fs::path& path, const std::string& reason) {
    ReadResult result;
    result.problem = problem;
    result.message = quoted(path) + " (" + reason + ")";
    return result;
}

class ReadHandle {
public:
    explicit ReadHandle(platform::Handle handle) : handle_(handle) {}
    ~ReadHandle() { platform::closeReading(handle_); }
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;

private:
    platform::Handle handle_;
};

// ---- writing --------------------------------------------------------------------------------

constexpr int kMaxLinkHops = 40;
constexpr std::size_t kMaxNameInTemp = 64;
constexpr std::size_t kMaxWriteChunk = std::size_t{1} << 30;

// Follows symbolic links to the file that really gets written; a relative link is relative to the
// folder that holds it.
bool resolveLinks(fs::path& target, std::string& why) {
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(target, ec);
        if (ec && ec != std::errc::no_such_file_or_directory) {
            why = "(" + ec.message() + ")";
            return false;
        }
        if (!fs::is_symlink(status))
            return true;
        if (hops == kMaxLinkHops) {
            why = "(too many levels of symbolic links)";
            return false;
        }
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            why = "(" + ec.message() + ")";
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

// Why an existing target must not be replaced, or empty when it may be.
std::string refusal(const fs::file_status& status) {
    const char* const kept = ", not a regular file; it was left as it is";
    switch (status.type()) {
    case fs::file_type::regular:
        break;
    case fs::file_type::directory:
        return std::string("is a folder") + kept;
    case fs::file_type::character:
    case fs::file_type::block:
        return std::string("is a device") + kept;
    case fs::file_type::fifo:
        return std::string("is a pipe (FIFO)") + kept;
    case fs::file_type::socket:
        return std::string("is a socket") + kept;
    default:
        return std::string("is something other than a file") + kept;
    }
    constexpr fs::perms kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none)
        return "is read-only; it was left as it is";
    return {};
}

fs::path temporaryPath(const fs::path& folder, const fs::path& target) {
    static std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string mark(kTempInfix);
    for (int i = 0; i < 6; ++i)
        mark += kLetters[pick(random)];
    mark += kTempSuffix;
    fs::path::string_type name = target.filename().native();
    name.resize(std::min(name.size(), kMaxNameInTemp));
    fs::path temp = ".";
    temp += name;
    temp += mark;
    return folder / temp;
}

} // namespace

ReadResult readFile(const fs::path& path, std::uint64_t limit, BeyondLimit beyond) {
    platform::Handle handle = -1;
    platform::Kind kind = platform::Kind::Other;
    std::uint64_t size = 0;
    if (const int error = platform::openForReading(path, handle, kind, size); error != 0)
        return readProblem(platform::isNotFound(error) ? ReadProblem::NotFound : ReadProblem::Unreadable,
                           path, platform::describe(error));
    if (kind == platform::Kind::Folder)
        return readProblem(ReadProblem::Folder, path, "a folder, not a file");
    if (kind != platform::Kind::Regular)
        return readProblem(ReadProblem::NotRegular, path, "not a regular file");
    const ReadHandle closer(handle);
    if (beyond == BeyondLimit::Refuse && size > limit)
        return readProblem(ReadProblem::TooLarge, path,
                           std::to_string(size) + " bytes, over the limit of " + std::to_string(limit));

    // One byte past the limit tells whether the file goes on; the buffer grows with what is there,
    // so a limit far above the file's size costs nothing.
    const std::uint64_t wanted = limit == UINT64_MAX ? limit : limit + 1;
    ReadResult result;
    result.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(wanted, size + 1)));
    std::size_t filled = 0;
    for (;;) {
        if (filled == result.bytes.size()) {
            if (filled >= wanted)
                break;
            result.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(wanted, filled * 2 + 4096)));
        }
        std::size_t got = 0;
        if (const int error =
                platform::readSome(handle, result.bytes.data() + filled, result.bytes.size() - filled, got);
            error != 0)
            return readProblem(ReadProblem::Unreadable, path, platform::describe(error));
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > limit) {
        // The file grew past the limit while it was read.
        if (beyond == BeyondLimit::Refuse)
            return readProblem(ReadProblem::TooLarge, path,
                               "more than the " + std::to_string(limit) + " bytes read");
        result.truncated = true;
        filled = static_cast<std::size_t>(limit);
    }
    result.bytes.resize(filled);
    return result;
}

WriteResult writeFile(const fs::path& path, std::span<const std::uint8_t> bytes, FileOps& ops) {
    const auto fail = [&path](const std::string& why) { return WriteResult{quoted(path) + " " + why}; };
    const auto systemFail = [&](int error) { return fail("(" + ops.describe(error) + ")"); };
    if (!path.has_filename())
        return fail("(a folder, not a file)");

    fs::path target = path;
    if (std::string why; !resolveLinks(target, why))
        return fail(why);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        return fail("(" + ec.message() + ")");
    const bool exists = fs::exists(status);
    if (exists) {
        if (const std::string why = refusal(status); !why.empty())
            return fail(why);
        if (const int error = platform::checkWritable(target); error != 0)
            return systemFail(error);
    }

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temp;
    FileOps::Handle handle = -1;
    for (int attempt = 0;; ++attempt) {
        temp = temporaryPath(folder, target);
        const int error = ops.create(temp, handle);
        if (error == 0)
            break;
        if (!platform::isAlreadyExists(error) || attempt == 100)
            return systemFail(error);
    }

    bool open = true;
    const auto abandon = [&](int error) {
        if (open)
            ops.close(handle);
        ops.remove(temp);
        return systemFail(error);
    };
    // The attributes first: the content is never readable by more people than the old file's.
    if (exists) {
        if (const int error = ops.keepAttributes(handle, target); error != 0)
            return abandon(error);
    }
    for (std::size_t done = 0; done < bytes.size();) {
        std::size_t written = 0;
        const std::size_t chunk = std::min(bytes.size() - done, kMaxWriteChunk);
        if (const int error = ops.write(handle, bytes.data() + done, chunk, written); error != 0)
            return abandon(error);
        if (written == 0)
            return abandon(platform::ioError());
        done += written;
    }
    if (const int error = ops.sync(handle); error != 0)
        return abandon(error);
    open = false;
    if (const int error = ops.close(handle); error != 0)
        return abandon(error);
    if (const int error = ops.replace(temp, target, exists); error != 0)
        return abandon(error);
    // The rename is done: the new file is in place. A folder that cannot be synced means a crash
    // now could still bring back the old one, so the user hears of it.
    if (const int error = ops.syncFolder(folder); error != 0)
        return fail("was written, but its folder could not be synced to the disk (" + ops.describe(error) +
                    ")");
    return {};
}

WriteResult writeFile(const fs::path& path, std::string_view bytes, FileOps& ops) {
    return writeFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), ops);
}

bool isTemporaryName(const fs::path& name) {
    const std::string text = displayPath(name.filename());
    const std::size_t infix = text.rfind(kTempInfix);
    return text.size() > 1 && text[0] == '.' && infix != std::string::npos &&
           text.size() == infix + kTempInfix.size() + 6 + kTempSuffix.size() && text.ends_with(kTempSuffix);
}

} // namespace files
