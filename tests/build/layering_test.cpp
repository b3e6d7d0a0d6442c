// Every #include of src/ runs along the arrows of src/layers.txt (or within
// its own room), the arrows make no cycle, and only the desktop program
// includes Qt.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Arrows = std::map<std::string, std::set<std::string>>;

fs::path sourceRoot() {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    return fs::path(root != nullptr ? root : ".") / "src";
}

Arrows readArrows(const fs::path& table) {
    Arrows arrows;
    std::ifstream in(table);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t colon = line.find(':');
        std::istringstream uses(line.substr(colon + 1));
        std::set<std::string>& to = arrows[line.substr(0, colon)];
        for (std::string room; uses >> room;)
            to.insert(room);
    }
    return arrows;
}

// Every room reachable from `room` along the arrows.
std::set<std::string> reachable(const Arrows& arrows, const std::string& room) {
    std::set<std::string> seen;
    std::vector<std::string> todo(arrows.at(room).begin(), arrows.at(room).end());
    while (!todo.empty()) {
        const std::string next = todo.back();
        todo.pop_back();
        if (!seen.insert(next).second || !arrows.contains(next))
            continue;
        todo.insert(todo.end(), arrows.at(next).begin(), arrows.at(next).end());
    }
    return seen;
}

// "room/file.h: includes other/x.h" for every include that breaks the
// table: a room it may not use, a folder that is no room, or Qt outside app.
std::vector<std::string> wrongIncludes(const fs::path& src, const Arrows& arrows) {
    static const std::regex include(R"re(^\s*#\s*include\s*([<"])([^>"]+)[>"])re");
    static const std::regex qt(R"re(^Q[A-Za-z]*(/|$))re");
    std::vector<std::string> wrong;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".in"))
            continue;
        const fs::path relative = fs::relative(entry.path(), src);
        const std::string room = relative.begin()->string();
        if (!arrows.contains(room)) {
            wrong.push_back(relative.string() + ": a folder that is no room of the table");
            continue;
        }
        const std::set<std::string> allowed = reachable(arrows, room);
        std::ifstream in(entry.path());
        std::smatch m;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, m, include))
                continue;
            const std::string target = m[2];
            if (m[1] == "<") {
                if (room != "app" && std::regex_search(target, qt))
                    wrong.push_back(relative.string() + ": includes Qt <" + target + ">");
                continue;
            }
            const size_t slash = target.find('/');
            if (slash == std::string::npos)
                continue; // generated beside the file (ui_*.h)
            const std::string to = target.substr(0, slash);
            if (to != room && !allowed.contains(to))
                wrong.push_back(relative.string() + ": includes " + target);
        }
    }
    return wrong;
}

TEST(Layering, IncludesFollowTheArrowsWithoutCyclesAndQtStaysInTheDesktopProgram) {
    const fs::path src = sourceRoot();
    const Arrows arrows = readArrows(src / "layers.txt");
    ASSERT_GE(arrows.size(), 10u);
    for (const auto& [room, uses] : arrows) {
        EXPECT_TRUE(fs::is_directory(src / room)) << room;
        EXPECT_FALSE(reachable(arrows, room).contains(room)) << room << " is in a cycle";
    }
    const std::vector<std::string> wrong = wrongIncludes(src, arrows);
    std::string all;
    for (const std::string& line : wrong)
        all += line + "\n";
    EXPECT_TRUE(wrong.empty()) << all;
}

} // namespace
