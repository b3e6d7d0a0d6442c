#include "core/program_folder.h"

#include <ctime>
#include <limits.h>
#include <unistd.h>

namespace zelkor {

std::string detectProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder.push_back('/');
    return folder;
}

std::tm currentLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

int currentCalendarYear() {
    return currentLocalTime().tm_year + 1900;
}

} // namespace zelkor
