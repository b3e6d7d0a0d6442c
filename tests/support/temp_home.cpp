// Every test program runs with a home of its own, made anew and removed at
// its end: what a test, Qt (the dialogs' QtProject.conf) or a program it
// starts (the browser, the command line) writes in the user's folders lands
// there, never in the real home. The runtime folder is its own too, so pages
// handed to the browser by tests running side by side never overwrite each
// other.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

class TempHome {
  public:
    TempHome() {
        // A death test's child, started anew from the test program, stays
        // in its parent's home: it ends without removing a home of its own.
        const char* home = std::getenv("HOME");
        const char* parents = std::getenv("ZELKOR_TEST_HOME");
        if (home && parents && std::string_view(home) == parents) {
            owner_ = 0;
            return;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelkor-home-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
        ::setenv("HOME", path_.c_str(), 1);
        ::setenv("ZELKOR_TEST_HOME", path_.c_str(), 1);
        for (const auto& [name, sub] :
             {std::pair{"XDG_CONFIG_HOME", "/.config"}, std::pair{"XDG_CACHE_HOME", "/.cache"},
              std::pair{"XDG_DATA_HOME", "/.local/share"},
              std::pair{"XDG_STATE_HOME", "/.local/state"}})
            ::setenv(name, (path_ + sub).c_str(), 1);
        const std::string runtime = path_ + "/run";
        if (::mkdir(runtime.c_str(), 0700) == 0)
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    // A forked child leaves the home to its parent.
    ~TempHome() {
        std::error_code ignored;
        if (::getpid() == owner_)
            std::filesystem::remove_all(path_, ignored);
    }

  private:
    std::string path_;
    pid_t owner_ = ::getpid();
};

const TempHome home;

} // namespace
