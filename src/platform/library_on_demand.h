#pragma once

#include <string>

namespace zelkor {

// A shared library loaded at its first use rather than at the program's
// start. The JV-Data store (SQLite) and the archive reader (libarchive) are
// needed by a few commands only; linked as usual, loading them and the
// libraries they bring took a third of every short command's start.
class LibraryOnDemand {
  public:
    // `soname` as the dynamic linker looks it up (libsqlite3.so.0).
    explicit LibraryOnDemand(const char* soname) : soname_(soname) {}
    LibraryOnDemand(const LibraryOnDemand&) = delete;
    LibraryOnDemand& operator=(const LibraryOnDemand&) = delete;

    // The function `name` of the library, loading it first; nullptr when
    // the library or the function is missing (error() says why).
    template <class Function> Function function(const char* name) {
        return reinterpret_cast<Function>(symbol(name));
    }
    // Why the library could not be loaded, or an empty text.
    const std::string& error();

  private:
    void* symbol(const char* name);
    void* load();

    const char* soname_;
    void* handle_ = nullptr;
    std::string error_;
    bool tried_ = false;
};

} // namespace zelkor

// The body of a function of the library (a stub of the same name and
// signature): calls the library's own, resolved once, or returns
// `fallback` when it cannot be had.
#define ZELKOR_CALL_ON_DEMAND(library, name, fallback, ...)                                        \
    static const auto loaded = (library).function<decltype(&::name)>(#name);                       \
    if (loaded == nullptr)                                                                         \
        return fallback;                                                                           \
    return loaded(__VA_ARGS__)
