#include "graphics/core/SourceFile.h"

#include "files/Files.h"
#include "graphics/core/PictureMessages.h"

namespace gfx {

SourceFileResult readSourceFile(const std::filesystem::path& path, std::uint64_t limit) {
    files::ReadResult read = files::readFile(path, limit);
    SourceFileResult result;
    switch (read.problem) {
    case files::ReadProblem::None:
        result.bytes = std::move(read.bytes);
        return result;
    case files::ReadProblem::NotFound:
        result.error = PictureMessages::kFileNotFound;
        break;
    case files::ReadProblem::Folder:
        result.error = PictureMessages::kSelectSingleFile;
        break;
    case files::ReadProblem::TooLarge:
        result.error = PictureMessages::kFileTooLarge;
        break;
    case files::ReadProblem::NotRegular:
    case files::ReadProblem::Unreadable:
        result.error = PictureMessages::kFileEmpty;
        break;
    }
    result.detail = std::move(read.message);
    return result;
}

} // namespace gfx
