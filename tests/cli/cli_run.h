#pragma once

// Runs the built zelkor2k-cli as a user would, with its output and errors
// caught in files, and gives back what it printed.

#include "support/temp_folder.h"

#include <cstdio>
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

inline std::string fileText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// `cli` with `args` started, its stdout and stderr going to files in
// `scratch`; finishCli waits for it and gives back what it printed.
inline pid_t startCli(const std::filesystem::path& cli, const std::vector<std::string>& args,
                      const std::filesystem::path& scratch) {
    std::vector<char*> argv{const_cast<char*>(cli.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr); // nothing buffered is written twice
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(60); // a program that waits for ever (on a FIFO) fails the test, not the run
        if (std::freopen((scratch / "out").c_str(), "wb", stdout) &&
            std::freopen((scratch / "err").c_str(), "wb", stderr))
            ::execv(cli.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

inline Outcome finishCli(pid_t pid, const std::filesystem::path& scratch) {
    int raw = 0;
    Outcome r;
    if (::waitpid(pid, &raw, 0) == pid && WIFEXITED(raw))
        r.status = WEXITSTATUS(raw);
    r.out = fileText(scratch / "out");
    r.err = fileText(scratch / "err");
    return r;
}

inline Outcome runCli(const std::filesystem::path& cli, const std::vector<std::string>& args,
                      const std::filesystem::path& scratch) {
    return finishCli(startCli(cli, args, scratch), scratch);
}

// The words of `line`, split at spaces.
inline std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> args;
    for (std::string word; in >> word;)
        args.push_back(word);
    return args;
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
        std::filesystem::create_directories(program_);
    }

    // The program with `args` and the program folder.
    Outcome run(std::vector<std::string> args) {
        args.push_back("--program-folder");
        args.push_back(program_.string());
        return runCli(cli_, args, temp_);
    }
    std::string programFolder() const { return program_.string() + "/"; }
    // The expected output kept as `name` in tests/cli/fixtures.
    std::string fixtureText(const std::string& name) const {
        return fileText(source_ / "tests/cli/fixtures" / name);
    }

    test::TempFolder folder_{"zelkor-cli"};
    std::filesystem::path cli_, source_, temp_ = folder_.dir(), program_ = temp_ / "program";
};

} // namespace zelkor::cli_test
