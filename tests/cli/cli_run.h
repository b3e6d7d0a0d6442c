#pragma once

// Runs the built zelkor2k-cli as a user would, with its output and errors
// caught in files, and gives back what it printed.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
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
    std::string command = shellQuoted(cli.string());
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

} // namespace zelkor::cli_test
