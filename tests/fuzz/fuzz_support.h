#pragma once

// Shared pieces of the fuzz targets: a scratch folder of the process, the
// files written into it, the invariant check and fakes of the ports.

#include "core/ports.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace zelkor::fuzz {

// A folder of this process below the temporary folder, ending in "/",
// removed when the process ends normally.
inline const std::string& scratchFolder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelkor-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        static const std::string removed = pattern;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(removed, ec);
        });
        return pattern + "/";
    }();
    return folder;
}

// Writes `data` as the file `name` of the scratch folder; gives its path.
inline std::string scratchFile(const std::string& name, std::string_view data) {
    const std::string path = scratchFolder() + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out)
        std::abort();
    return path;
}

inline std::string_view bytesOf(const std::uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// An invariant of the program that the input broke: a finding.
#define ZELKOR_FUZZ_CHECK(condition)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The path of a JV-Data store in the scratch folder, none there yet.
inline std::string freshStorePath() {
    const std::string store = scratchFolder() + "JV-Data/jvdata.sqlite3";
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(store + suffix);
    return store;
}

class CountingPrompt : public UserPrompt {
  public:
    int messages = 0;
    void doShowMessage(const std::string&, const std::string&) override { ++messages; }
    bool doAskYesNo(const std::string&, const std::string&) override { return false; }
};

class NoProgress : public ProgressSink {
  public:
    void setText(const std::string&) override {}
    void setPosition(int position) override { ZELKOR_FUZZ_CHECK(position >= 0 && position <= 100); }
    void setStep(int) override {}
    void step() override {}
};

class NoShell : public Shell {
  public:
    void openDocument(const std::string&) override {}
    void openUrl(const std::string&) override {}
};

} // namespace zelkor::fuzz
