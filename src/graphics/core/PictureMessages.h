#pragma once

#include <string>

namespace gfx::PictureMessages {

// The texts the user sees when a map picture cannot be had; the editor shows them in a message box
// and the tool prints them, so they are kept word for word.
inline constexpr const char* kNoResourceFork = "sorry, file has no resource fork.";
inline constexpr const char* kSelectSingleFile = "please select a single file.";
inline constexpr const char* kFileEmpty = "sorry, file is empty.";
inline constexpr const char* kFileTooLarge = "sorry, file is larger than 64 MB.";
inline constexpr const char* kPictureNotInFile = "sorry, picture not in file.";
inline constexpr const char* kMemoryOverflow = "memory overflow when creating picture.";
inline constexpr const char* kPictureNotFound = "sorry, picture not found or memory overflow.";
inline constexpr const char* kFileNotFound = "sorry, file not found.";

inline std::string pictResourceNotFound(long long id) {
    return "sorry, PICT resource " + std::to_string(id) + " not found or memory overflow.";
}

} // namespace gfx::PictureMessages
