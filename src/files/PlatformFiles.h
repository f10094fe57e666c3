#pragma once

// What Files.cpp needs from the system beyond std::filesystem; one implementation per platform
// (PosixFiles.cpp, WindowsFiles.cpp).

#include "files/Files.h"

namespace files::platform {

using Handle = FileOps::Handle;

enum class Kind { Regular, Folder, Other };

// Opens a regular file for reading without ever waiting (a FIFO, a device are not opened); `kind`
// tells what the path names, `size` its length. Returns 0 or the system's error code; for a
// folder or another kind of file it returns 0 with `handle` not open.
int openForReading(const std::filesystem::path& path, Handle& handle, Kind& kind, std::uint64_t& size);
int readSome(Handle handle, std::uint8_t* data, std::size_t size, std::size_t& got);
void closeReading(Handle handle);

// 0 when the current user may write the existing file at `path`, otherwise the reason.
int checkWritable(const std::filesystem::path& path);

bool isNotFound(int error);
bool isAlreadyExists(int error);
int ioError(); // for a write that wrote nothing without saying why

std::string describe(int error);

} // namespace files::platform
