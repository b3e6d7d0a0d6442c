#pragma once

#include <string>

namespace zelkor {

// A shared library loaded at its first use rather than at the program's
// start. The JV-Data store (SQLite) and the archive reader (libarchive) are
// needed by a few commands only; linked as usual, loading them and the
// libraries they bring took a third of every short command's start. The
// program calls them through a table of their functions filled from the
// library (platform/libarchive_api.h, store/sqlite_api.h) and never
// defines their symbols itself.
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
    // Sets `function` to the library's function `name`; false when it
    // cannot be had. For filling a table of the library's functions, each
    // with the type of its declaration in the library's header.
    template <class Function> bool find(Function& function, const char* name) {
        function = this->function<Function>(name);
        return function != nullptr;
    }
    // Why the library or a function asked for could not be had, or an
    // empty text.
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
