#include "QtImageModule.h"

#include "QtImageAbi.h"

#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace mqtool {

namespace {

namespace fs = std::filesystem;

#if defined(_WIN32)
constexpr const char* kModuleFile = "mapquill-qtimage.dll";

fs::path executableDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return fs::path(buffer.substr(0, n)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

void* openModule(const fs::path& path, std::string& why) {
    HMODULE module = LoadLibraryW(path.wstring().c_str());
    if (!module)
        why = "Windows error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}

void* findSymbol(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
#else
constexpr const char* kModuleFile = "mapquill-qtimage.so";

fs::path executableDirectory() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self.parent_path();
}

void* openModule(const fs::path& path, std::string& why) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* text = dlerror();
        why = text ? text : "unknown error";
    }
    return module;
}

void* findSymbol(void* module, const char* name) {
    return dlsym(module, name);
}
#endif

struct LoadedModule {
    MapquillQtImageDecodeFunction decode = nullptr;
    std::string problem; // why there is no decode function
};

LoadedModule load() {
    LoadedModule loaded;
    std::vector<fs::path> candidates;
    std::error_code error;
    if (const char* chosen = std::getenv("MAPQUILL_QTIMAGE_MODULE"); chosen && *chosen) {
        if (!fs::is_regular_file(chosen, error)) {
            loaded.problem = std::string("MAPQUILL_QTIMAGE_MODULE names ") + chosen +
                             ", which is not the Qt image module (no such file)";
            return loaded;
        }
        candidates.emplace_back(chosen);
    } else if (const fs::path here = executableDirectory(); !here.empty()) {
        candidates.push_back(here / kModuleFile);
        candidates.push_back(here / MQ_QTIMAGE_INSTALL_DIR / kModuleFile);
    }
    for (const fs::path& path : candidates) {
        if (!fs::is_regular_file(path, error))
            continue;
        std::string why;
        // Never closed: Qt does not support being unloaded, and the process is short-lived.
        void* module = openModule(path, why);
        if (!module) {
            loaded.problem = "the Qt image module " + path.string() + " cannot be loaded: " + why;
            return loaded;
        }
        const auto abi =
            reinterpret_cast<MapquillQtImageAbiFunction>(findSymbol(module, "mapquill_qtimage_abi"));
        const auto decode =
            reinterpret_cast<MapquillQtImageDecodeFunction>(findSymbol(module, "mapquill_qtimage_decode"));
        if (!abi || !decode || abi() != kMapquillQtImageAbi) {
            loaded.problem =
                "the Qt image module " + path.string() + " belongs to another version of mapquill-tool";
            return loaded;
        }
        loaded.decode = decode;
        return loaded;
    }
    loaded.problem = "this picture format is read through Qt, and the Qt image module (" +
                     std::string(kModuleFile) + ") is not installed beside mapquill-tool";
    return loaded;
}

unsigned char* allocate(void* context, int width, int height) {
    auto* image = static_cast<gfx::RgbImage*>(context);
    if (width <= 0 || height <= 0)
        return nullptr;
    try {
        *image = gfx::RgbImage(width, height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return image->pixels.data();
}

} // namespace

gfx::ImageResult decodeWithQtModule(std::span<const std::uint8_t> file) {
    static const LoadedModule module = load();
    if (!module.decode)
        return gfx::ImageResult::failure(module.problem);
    gfx::ImageResult result;
    char error[256] = {};
    if (!module.decode(file.data(), file.size(), allocate, &result.image, error, sizeof error))
        return gfx::ImageResult::failure(error[0] ? error : "the picture could not be read");
    return result;
}

} // namespace mqtool
