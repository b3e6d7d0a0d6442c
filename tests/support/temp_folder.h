#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zelkor::test {

// A fresh folder below the system's temporary folder, named from `prefix`
// and removed with its contents at the end of the test. `path()` ends in "/".
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr)
            dir_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!dir_.empty())
            std::filesystem::remove_all(dir_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return dir_ + "/"; }
    std::filesystem::path dir() const { return dir_; }
    std::string file(const std::string& name) const { return path() + name; }

  private:
    std::string dir_;
};

} // namespace zelkor::test
