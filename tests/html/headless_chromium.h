#pragma once

// Opens a page in headless Chromium and returns the DOM it built (UTF-8).

#include "support/outside_tools.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace zelkor::test {

inline constexpr const char* kChromiumPath = "/usr/bin/chromium";

inline bool chromiumInstalled() {
    return std::filesystem::exists(kChromiumPath);
}

// `address` is a "file://" address; `profile` a folder Chromium may write,
// its home too.
inline std::string chromiumDom(const std::string& address, const std::filesystem::path& profile) {
    const std::string home = "'" + profile.string() + "'";
    const std::string command =
        "HOME=" + home + " XDG_CONFIG_HOME=" + home + " XDG_CACHE_HOME=" + home + " " +
        std::string(kChromiumPath) +
        " --headless --no-sandbox --disable-gpu --disable-background-networking"
        " --disable-component-update --disable-sync --no-first-run"
        " --user-data-dir=" +
        home + " --dump-dom '" + address + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return {};
    std::string out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

} // namespace zelkor::test
