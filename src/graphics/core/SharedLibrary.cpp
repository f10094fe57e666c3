#include "graphics/core/SharedLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace gfx {

SharedLibrary::SharedLibrary(const char* name) : m_name(name) {
#ifdef _WIN32
    m_handle = reinterpret_cast<void*>(::LoadLibraryA(name));
    if (!m_handle)
        m_error = "error " + std::to_string(::GetLastError());
#else
    // RTLD_LOCAL: its symbols serve only the pointers bound here, never another library's lookups.
    m_handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* why = ::dlerror();
        m_error = why ? why : "unknown reason";
    }
#endif
}

void* SharedLibrary::lookUp(const char* symbol) {
    if (!m_handle)
        return nullptr;
#ifdef _WIN32
    const FARPROC procedure = ::GetProcAddress(static_cast<HMODULE>(m_handle), symbol);
    void* address = nullptr;
    std::memcpy(&address, &procedure, sizeof address);
#else
    void* address = ::dlsym(m_handle, symbol);
#endif
    if (!address && m_error.empty())
        m_error = std::string("it has no function ") + symbol;
    return address;
}

std::string SharedLibrary::failure(const std::string& what) const {
    return what + " needs " + m_name + ", which could not be loaded: " + m_error;
}

} // namespace gfx
