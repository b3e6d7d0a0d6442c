#include "core/program_folder.h"

#include "core/install_layout.h"
#include "text/cp932.h"
#include "text/format.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace zelkor {

namespace {

constexpr const char* kImageFolder = "Image";

bool holdsImageFolder(const std::string& folder) {
    std::error_code ec;
    return fs::is_directory(folder + kImageFolder, ec);
}

bool writable(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

std::string cannotCreate(const std::string& folder, const std::error_code& ec) {
    return format("フォルダ'%s'を作成できません (%s)", pathForDisplay(folder).c_str(),
                  ec.message().c_str());
}

std::string cannotWrite(const std::string& folder) {
    return format("フォルダ'%s'に書き込めません (%s)", pathForDisplay(folder).c_str(),
                  std::strerror(errno));
}

// True when `target` holds the state of `source`: copies take over the
// source's time, so an installed picture that is newer is copied again.
bool upToDate(const fs::path& target, const fs::path& source) {
    std::error_code ec;
    const fs::file_time_type copied = fs::last_write_time(target, ec);
    if (ec)
        return false;
    const fs::file_time_type installed = fs::last_write_time(source, ec);
    return !ec && copied >= installed;
}

// Copies the installed pictures that `images` lacks or holds in an older
// state. A picture that cannot be copied makes the folder unusable: every
// page would show it broken.
std::string refreshPictures(const std::string& images) {
    const std::string source = programFilesFolder() + kImageFolder;
    std::error_code ec;
    if (fs::equivalent(source, images, ec))
        return {};
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = fs::path(images) / it->path().filename();
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || upToDate(target, it->path()))
            continue;
        std::error_code copyError;
        fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, copyError);
        if (!copyError) {
            const fs::file_time_type installed = fs::last_write_time(it->path(), copyError);
            if (!copyError)
                fs::last_write_time(target, installed, copyError);
        }
        if (copyError)
            return format("ファイル'%s'を作成できません (%s)",
                          pathForDisplay(target.string()).c_str(), copyError.message().c_str());
    }
    return {};
}

} // namespace

std::string executableFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string programFilesFolder() {
    const std::string beside = executableFolder();
    if (holdsImageFolder(beside))
        return beside;
    const fs::path installed = fs::path(beside) / kInstalledDataFromExecutable;
    return withTrailingSeparator(installed.lexically_normal().string());
}

std::string userDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::string base = dataHome != nullptr && dataHome[0] == '/'
                           ? std::string(dataHome)
                           : withTrailingSeparator(homeFolder()) + ".local/share";
    return withTrailingSeparator(withTrailingSeparator(base) + "zelkor2k");
}

std::string detectProgramFolder() {
    const std::string beside = executableFolder();
    if (holdsImageFolder(beside) && writable(beside))
        return beside;
    return userDataFolder();
}

namespace {

// What keeps `folder` from being used, or the empty text.
std::string folderProblem(const std::string& folder) {
    for (const char* sub : {"", kImageFolder}) {
        const std::string path = folder + sub;
        std::error_code ec;
        fs::create_directories(path, ec);
        if (ec)
            return cannotCreate(path, ec);
        if (!writable(path))
            return cannotWrite(path);
    }
    // The working folders are made by what first writes into them; one that
    // is there already must take files too.
    for (const char* sub : {"HTML", "JRA-VAN", "KTDAT"}) {
        const std::string path = folder + sub;
        std::error_code ec;
        if (!fs::exists(path, ec))
            continue;
        if (!fs::is_directory(path, ec))
            return cannotCreate(path, std::make_error_code(std::errc::not_a_directory));
        if (!writable(path))
            return cannotWrite(path);
    }
    return refreshPictures(folder + kImageFolder);
}

} // namespace

Outcome prepareProgramFolder(const std::string& folder) {
    std::string problem = folderProblem(folder);
    if (problem.empty())
        return {};
    return Failure{std::move(problem)};
}

Result<std::string> chooseProgramFolder(const std::string& given) {
    // A relative folder is made absolute: pages address their pictures as
    // "file://" + folder, which must not depend on the browser's folder.
    std::error_code ec;
    const fs::path absolute = fs::absolute(given, ec);
    std::string folder =
        given.empty() ? detectProgramFolder()
                      : withTrailingSeparator(ec ? given : absolute.lexically_normal().string());
    if (Outcome ready = prepareProgramFolder(folder); !ready)
        return Failure{ready.message()};
    return folder;
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
