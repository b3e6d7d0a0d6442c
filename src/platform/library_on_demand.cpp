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
        // Its symbols stay its own: the program reaches them through dlsym.
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
    if (handle == nullptr)
        return nullptr;
    void* found = ::dlsym(handle, name);
    if (found == nullptr) {
        const std::lock_guard<std::mutex> hold(loadingLock());
        error_ = std::string(soname_) + ": " + name + " not found";
    }
    return found;
}

const std::string& LibraryOnDemand::error() {
    load();
    return error_;
}

} // namespace zelkor
