#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zelkor::test {

// A fresh folder below the system's temporary folder, removed with its
// contents when the object goes out of scope. path() ends without a separator.
class TempDir {
  public:
    TempDir() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "zelkor-jv-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        path_ = made ? made : pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // `name` inside the folder.
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

} // namespace zelkor::test
