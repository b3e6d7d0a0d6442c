#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zelkor::test {

// A fresh folder below the system's temporary folder, removed with its
// contents at the end of the test. `path()` ends in "/".
class JvTestDir {
  public:
    JvTestDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelkor-jv-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            dir_ = pattern;
    }
    ~JvTestDir() {
        std::error_code ignored;
        if (!dir_.empty())
            std::filesystem::remove_all(dir_, ignored);
    }
    JvTestDir(const JvTestDir&) = delete;
    JvTestDir& operator=(const JvTestDir&) = delete;

    std::string path() const { return dir_ + "/"; }
    std::string file(const std::string& name) const { return path() + name; }

  private:
    std::string dir_;
};

} // namespace zelkor::test
