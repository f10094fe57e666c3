#pragma once
// A shared library opened only when a picture needs it. TIFF, GIF and text drawing pull in a
// dozen libraries between them; linked the usual way, every start of the command-line tool paid
// for loading them (two thirds of its start-up time) although few pictures use them.
//
// A library's functions are listed in an X-macro and typed from the library's own header:
//
//   #define MQ_GIF_FUNCTIONS(X) X(DGifOpen) X(DGifCloseFile)
//   MQ_SHARED_LIBRARY(Giflib, giflib, "libgif.so.7", MQ_GIF_FUNCTIONS)
//   ... giflib().DGifOpen(...) ...
//
// giflib() opens the library on its first call (a function-local static, so from any thread)
// and says through ok() and failure() whether it could. The program never calls the library's
// functions by their own names, so it does not link the library at all; a call made by mistake
// fails to link instead of loading the library at start.
#include <cstring>
#include <string>

namespace gfx {

class SharedLibrary {
public:
    // Opens `name` (a SONAME, or a path); a library that cannot be opened leaves error() saying why.
    // The library stays loaded until the process ends: the functions bound from it must stay valid.
    explicit SharedLibrary(const char* name);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Empty when the library and every function bound so far were found.
    const std::string& error() const { return m_error; }
    bool ok() const { return m_error.empty(); }

    // "<what> needs <library>, which could not be loaded: <reason>", for messages to the user.
    std::string failure(const std::string& what) const;

protected:
    template <class Function> void bind(Function& function, const char* symbol) {
        static_assert(sizeof(Function) == sizeof(void*),
                      "function pointers must be the size of data pointers");
        void* address = lookUp(symbol);
        std::memcpy(&function, &address, sizeof address);
    }

private:
    void* lookUp(const char* symbol);

    std::string m_name;
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace gfx

#define MQ_LIBRARY_FUNCTION(name) decltype(&::name) name = nullptr;
#define MQ_LIBRARY_BIND(name) bind(this->name, #name);
#define MQ_SHARED_LIBRARY(Type, accessor, soname, FUNCTIONS)                                                 \
    struct Type : ::gfx::SharedLibrary {                                                                     \
        FUNCTIONS(MQ_LIBRARY_FUNCTION)                                                                       \
        Type() : SharedLibrary(soname) { FUNCTIONS(MQ_LIBRARY_BIND) }                                        \
    };                                                                                                       \
    const Type& accessor() {                                                                                 \
        static const Type library;                                                                           \
        return library;                                                                                      \
    }
