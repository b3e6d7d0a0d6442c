#pragma once

// Runs the built zelkor2k-cli as a user would, with its output and errors
// caught in files, and gives back what it printed.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zelkor::cli_test {

// Expected terminal texts are UTF-8; the source is compiled to CP932, so
// they are written as u8 literals.
inline std::string u8(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string fileText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// `cli` with `args`; stdout and stderr go through files in `scratch`.
inline Outcome runCli(const std::filesystem::path& cli, const std::vector<std::string>& args,
                      const std::filesystem::path& scratch) {
    // A program that waits for ever (on a FIFO) fails the test, not the run.
    std::string command = "timeout 60 " + shellQuoted(cli.string());
    for (const std::string& a : args)
        command += " " + shellQuoted(a);
    command += " >" + shellQuoted((scratch / "out").string()) + " 2>" +
               shellQuoted((scratch / "err").string());
    Outcome r;
    int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = fileText(scratch / "out");
    r.err = fileText(scratch / "err");
    return r;
}

// A test of the real program in a fresh temporary folder that holds its
// program folder ("program"); the folder goes at the end of the test.
// ZELKOR_BIN_DIR and ZELKOR_SOURCE_DIR name the built program and the sources.
class ProgramFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("ZELKOR_BIN_DIR");
        const char* src = std::getenv("ZELKOR_SOURCE_DIR");
        ASSERT_TRUE(bin && src) << "ZELKOR_BIN_DIR and ZELKOR_SOURCE_DIR must be set";
        cli_ = std::filesystem::path(bin) / "zelkor2k-cli";
        source_ = src;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelkor-clijv-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        temp_ = pattern;
        program_ = temp_ / "program";
        std::filesystem::create_directories(program_);
    }
    void TearDown() override { std::filesystem::remove_all(temp_); }

    // The program with `args` and the program folder.
    Outcome run(std::vector<std::string> args) {
        args.push_back("--program-folder");
        args.push_back(program_.string());
        return runCli(cli_, args, temp_);
    }

    std::filesystem::path cli_, source_, temp_, program_;
};

} // namespace zelkor::cli_test
