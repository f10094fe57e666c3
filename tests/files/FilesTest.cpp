#include "files/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The real system calls, except that one step fails with a chosen error, and that nothing is
// created or renamed outside the test's folder: even a broken writer cannot touch a device.
class TestOps : public files::FileOps {
public:
    explicit TestOps(fs::path fence) : fence_(std::move(fence)) {}

    std::string failing; // "create", "write", "attributes", "sync", "close", "replace", "folder"
    int error = 0;
    fs::path temp;          // the temporary file the writer made
    bool leftFence = false; // the writer tried to create or rename outside the folder

    int create(const fs::path& path, Handle& handle) override {
        temp = path;
        if (!inside(path))
            return EPERM;
        return failing == "create" ? error : real().create(path, handle);
    }
    int write(Handle handle, const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        if (failing != "write")
            return real().write(handle, data, size, written);
        // A short write first, so the failure comes in the middle of the file.
        if (!shortWritten_ && size > 1) {
            shortWritten_ = true;
            return real().write(handle, data, 1, written);
        }
        return error;
    }
    int keepAttributes(Handle handle, const fs::path& original) override {
        return failing == "attributes" ? error : real().keepAttributes(handle, original);
    }
    int sync(Handle handle) override { return failing == "sync" ? error : real().sync(handle); }
    int close(Handle handle) override {
        const int closed = real().close(handle);
        return failing == "close" ? error : closed;
    }
    int replace(const fs::path& from, const fs::path& to, bool toExists) override {
        if (!inside(to))
            return EPERM;
        return failing == "replace" ? error : real().replace(from, to, toExists);
    }
    int remove(const fs::path& path) override { return real().remove(path); }
    int syncFolder(const fs::path& folder) override {
        return failing == "folder" ? error : real().syncFolder(folder);
    }
    std::string describe(int code) const override { return real().describe(code); }

private:
    static files::FileOps& real() { return files::systemFileOps(); }
    bool inside(const fs::path& path) {
        const fs::path folder = fs::weakly_canonical(path).parent_path();
        leftFence = leftFence || folder != fence_;
        return !leftFence;
    }
    fs::path fence_;
    bool shortWritten_ = false;
};

class FilesTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mq-files-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = fs::canonical(pattern);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    fs::path at(const std::string& name) const { return dir_ / name; }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(dir_))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path dir_;
};

const std::string kOld = "the old file, which must survive";
const std::string kNew(100000, 'n');

} // namespace

// Each step of a write can fail; the old file stays byte for byte, the message names the file and
// the system's reason, and the temporary file is gone. A folder that cannot be synced is reported
// after the new file is in place.
TEST_F(FilesTest, AFailedStepLeavesTheOldFileAndSaysWhy) {
    const struct {
        const char* step;
        int error;
    } cases[] = {
        {"create", EACCES}, {"write", ENOSPC},  {"attributes", EPERM}, {"sync", EIO},
        {"close", EDQUOT},  {"replace", EXDEV}, {"folder", EIO},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        const bool inPlace = c.step == std::string("folder");
        writeAll(at("OvData1"), kOld);
        TestOps ops(dir_);
        ops.failing = c.step;
        ops.error = c.error;
        const files::WriteResult result = files::writeFile(at("OvData1"), kNew, ops);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.message,
                  "'" + at("OvData1").string() + "' " +
                      (inPlace ? "was written, but its folder could not be synced to the disk " : "") + "(" +
                      std::strerror(c.error) + ")");
        EXPECT_EQ(readAll(at("OvData1")), inPlace ? kNew : kOld);
        EXPECT_EQ(names(), std::vector<std::string>{"OvData1"});
        EXPECT_TRUE(files::isTemporaryName(ops.temp)) << ops.temp;
        EXPECT_EQ(ops.temp.parent_path(), dir_);
    }
}

// What is not a regular file is refused before anything is created: devices, pipes, sockets,
// folders, and a file nobody may write.
TEST_F(FilesTest, WhatIsNotAWritableRegularFileIsRefusedAndLeftAlone) {
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, at("socket").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_directory(at("folder"));
    fs::create_symlink("/dev/null", at("to-dev-null"));
    writeAll(at("read-only"), kOld);
    fs::permissions(at("read-only"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const struct {
        fs::path target;
        fs::file_type type;
        const char* why;
    } cases[] = {
        {at("fifo"), fs::file_type::fifo, "is a pipe (FIFO), not a regular file; it was left as it is"},
        {at("socket"), fs::file_type::socket, "is a socket, not a regular file"},
        {at("folder"), fs::file_type::directory, "is a folder, not a regular file"},
        {"/dev/null", fs::file_type::character, "is a device, not a regular file"},
        {at("to-dev-null"), fs::file_type::character, "is a device, not a regular file"},
        {at("read-only"), fs::file_type::regular, "is read-only; it was left as it is"},
        {at("folder") / "", fs::file_type::directory, "(a folder, not a file)"},
    };
    const std::vector<std::string> before = names();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.string());
        TestOps ops(dir_);
        const files::WriteResult result = files::writeFile(c.target, kNew, ops);
        EXPECT_EQ(result.message.rfind("'" + c.target.string() + "' ", 0), 0u) << result.message;
        EXPECT_NE(result.message.find(c.why), std::string::npos) << result.message;
        EXPECT_EQ(fs::status(c.target).type(), c.type);
        EXPECT_FALSE(ops.leftFence);
        EXPECT_EQ(names(), before);
    }
    EXPECT_EQ(readAll(at("read-only")), kOld);
    EXPECT_TRUE(fs::is_symlink(at("to-dev-null")));
    ::close(sock);
}

// A link is written through and stays a link; one that points at nothing creates what it names.
TEST_F(FilesTest, SymbolicLinksAreWrittenThrough) {
    fs::create_directory(at("real"));
    writeAll(at("real/OvData1"), kOld);
    fs::create_symlink("real/OvData1", at("relative"));
    fs::create_symlink(at("relative"), at("chain"));
    fs::create_symlink("real/new-file", at("dangling"));
    fs::create_symlink("loop-b", at("loop-a"));
    fs::create_symlink("loop-a", at("loop-b"));

    ASSERT_TRUE(files::writeFile(at("chain"), std::string_view("through two links")).ok());
    EXPECT_EQ(readAll(at("real/OvData1")), "through two links");
    ASSERT_TRUE(files::writeFile(at("dangling"), std::string_view("made")).ok());
    EXPECT_EQ(readAll(at("real/new-file")), "made");
    for (const char* link : {"relative", "chain", "dangling"})
        EXPECT_TRUE(fs::is_symlink(at(link))) << link;

    const files::WriteResult loop = files::writeFile(at("loop-a"), std::string_view("x"));
    EXPECT_NE(loop.message.find("too many levels of symbolic links"), std::string::npos) << loop.message;
}

TEST_F(FilesTest, PermissionsOwnerAndNameBytesAreKept) {
    writeAll(at("private"), kOld);
    fs::permissions(at("private"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(files::writeFile(at("private"), kNew).ok());
    EXPECT_EQ(fs::status(at("private")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A new file gets what the umask allows, like any file the user creates.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(files::writeFile(at("new"), kNew).ok());
    ::umask(mask);
    EXPECT_EQ(fs::status(at("new")).permissions() & fs::perms::all, static_cast<fs::perms>(0644));

    // Names are bytes: one that is not UTF-8 is written under exactly that name.
    const std::string latin1Name = "Fahrmann\xE4\xFF";
    ASSERT_TRUE(files::writeFile(dir_ / latin1Name, std::string_view("x")).ok());
    EXPECT_EQ(names(), (std::vector<std::string>{latin1Name, "new", "private"}));

    if (::geteuid() != 0)
        GTEST_SKIP() << "keeping another user's ownership needs root";
    ASSERT_EQ(::chown(at("private").c_str(), 12345, 23456), 0);
    ASSERT_TRUE(files::writeFile(at("private"), std::string_view("saved by root")).ok());
    struct stat info {};
    ASSERT_EQ(::stat(at("private").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 12345u);
    EXPECT_EQ(info.st_gid, 23456u);
}

TEST_F(FilesTest, ReadingIsBoundedAndTakesOnlyRegularFiles) {
    writeAll(at("ten"), "0123456789");
    writeAll(at("empty"), "");
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0644), 0); // no writer: a blocking open would hang
    using files::BeyondLimit;
    using files::ReadProblem;
    const struct {
        fs::path path;
        std::uint64_t limit;
        BeyondLimit beyond;
        ReadProblem problem;
        std::string bytes;
        bool truncated;
    } cases[] = {
        {at("ten"), 10, BeyondLimit::Refuse, ReadProblem::None, "0123456789", false},
        {at("ten"), 9, BeyondLimit::Refuse, ReadProblem::TooLarge, "", false},
        {at("ten"), 4, BeyondLimit::KeepPrefix, ReadProblem::None, "0123", true},
        {at("empty"), 4, BeyondLimit::Refuse, ReadProblem::None, "", false},
        {at("missing"), 4, BeyondLimit::Refuse, ReadProblem::NotFound, "", false},
        {dir_, 4, BeyondLimit::Refuse, ReadProblem::Folder, "", false},
        {at("fifo"), 4, BeyondLimit::Refuse, ReadProblem::NotRegular, "", false},
        {"/dev/zero", 4, BeyondLimit::KeepPrefix, ReadProblem::NotRegular, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string() + " limit " + std::to_string(c.limit));
        const files::ReadResult read = files::readFile(c.path, c.limit, c.beyond);
        EXPECT_EQ(read.problem, c.problem) << read.message;
        EXPECT_EQ(std::string(read.bytes.begin(), read.bytes.end()), c.bytes);
        EXPECT_EQ(read.truncated, c.truncated);
        EXPECT_EQ(read.message.empty(), c.problem == ReadProblem::None);
        if (!read.ok()) {
            EXPECT_EQ(read.message.rfind("'" + c.path.string() + "' (", 0), 0u) << read.message;
        }
    }
    EXPECT_EQ(files::readFile(at("missing"), 4).message,
              "'" + at("missing").string() + "' (No such file or directory)");
}
