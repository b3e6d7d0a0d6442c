#include "platform/library_on_demand.h"

#include <dlfcn.h>
#include <mutex>

namespace zelkor {
namespace {

std::mutex& loadingLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

void* LibraryOnDemand::load() {
    const std::lock_guard<std::mutex> hold(loadingLock());
    if (!tried_) {
        tried_ = true;
        // Its symbols stay its own: none of them may stand in for the
        // program's stubs of the same names.
        handle_ = ::dlopen(soname_, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) {
            const char* why = ::dlerror();
            error_ = why != nullptr ? why : soname_;
        }
    }
    return handle_;
}

void* LibraryOnDemand::symbol(const char* name) {
    void* handle = load();
    return handle != nullptr ? ::dlsym(handle, name) : nullptr;
}

const std::string& LibraryOnDemand::error() {
    load();
    return error_;
}

} // namespace zelkor
