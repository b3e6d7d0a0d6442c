#include "jv/jv_test_dir.h"
#include "jv/lzh_archive.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

std::string fixture(const std::string& name) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/jv/fixtures/" + name;
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The lines the fixture script writes into each file of the good archive.
std::string fixtureLines(const std::string& label) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%s %02d\r\n", label.c_str(), i);
        text += line;
    }
    return text;
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LzhArchive, RecognisesArchivesOnly) {
    EXPECT_TRUE(isLzhArchive(fixture("good.lzh")));
    EXPECT_TRUE(isLzhArchive(fixture("no_staff.lzh")));
    EXPECT_FALSE(isLzhArchive(fixture("not_archive.lzh")));
    EXPECT_FALSE(isLzhArchive(fixture("missing.lzh")));
    EXPECT_FALSE(isLzhArchive(fixture(""))); // a folder
}

TEST(LzhArchive, ExtractsEveryFileWithItsContents) {
    test::JvTestDir dir;
    LzhExtraction r = extractLzhArchive(fixture("good.lzh"), dir.path());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.written, (std::vector<std::string>{"JracDen1.dat", "JracUmaj.dat", "JracChok.dat",
                                                   "JracKisi.dat"}));
    EXPECT_TRUE(r.skipped.empty());
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"JracChok.dat", "JracDen1.dat",
                                                             "JracKisi.dat", "JracUmaj.dat"}));
    EXPECT_EQ(contents(dir.file("JracDen1.dat")), fixtureLines("race card"));
    EXPECT_EQ(contents(dir.file("JracUmaj.dat")), fixtureLines("horse file"));
    EXPECT_EQ(contents(dir.file("JracChok.dat")), fixtureLines("trainers"));
    EXPECT_EQ(contents(dir.file("JracKisi.dat")), fixtureLines("jockeys"));
}

TEST(LzhArchive, ReplacesFilesOfTheSameName) {
    test::JvTestDir dir;
    std::ofstream(dir.file("JracDen1.dat")) << "old";
    ASSERT_TRUE(extractLzhArchive(fixture("no_staff.lzh"), dir.path()).ok);
    EXPECT_EQ(contents(dir.file("JracDen1.dat")), fixtureLines("race card"));
}

TEST(LzhArchive, ParentFolderNamesStayInsideTheTarget) {
    test::JvTestDir root;
    fs::create_directories(root.file("a/b/target"));
    std::string target = root.file("a/b/target");
    LzhExtraction r = extractLzhArchive(fixture("evil.lzh"), target);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.written, (std::vector<std::string>{"evil.dat", "JracDen1.dat", "JracUmaj.dat"}));
    EXPECT_EQ(contents(fs::path(target) / "evil.dat"), "evil\r\n");
    EXPECT_FALSE(fs::exists(root.file("evil.dat")));
    EXPECT_FALSE(fs::exists(root.file("a/evil.dat")));
    EXPECT_FALSE(fs::exists(root.file("a/b/evil.dat")));
}

TEST(LzhArchive, UnsafeNamesAndLinksAreSkipped) {
    test::JvTestDir root;
    fs::create_directories(root.file("a/b/target"));
    std::string target = root.file("a/b/target");
    fs::remove("/tmp/zelkor_abs_evil.dat");
    LzhExtraction r = extractLzhArchive(fixture("evil_names.lzh"), target);
    ASSERT_TRUE(r.ok) << r.error;
    // "..\..\evil2.dat" keeps only its last component; "..", "C:..." and the
    // link are skipped; the absolute name lands in the target folder.
    EXPECT_EQ(r.written,
              (std::vector<std::string>{"evil2.dat", "zelkor_abs_evil.dat", "JracDen1.dat"}));
    EXPECT_EQ(r.skipped.size(), 3u);
    EXPECT_EQ(filesIn(target),
              (std::vector<std::string>{"JracDen1.dat", "evil2.dat", "zelkor_abs_evil.dat"}));
    EXPECT_EQ(contents(fs::path(target) / "JracDen1.dat"), "crafted card\r\n");
    EXPECT_FALSE(fs::exists("/tmp/zelkor_abs_evil.dat"));
    EXPECT_TRUE(filesIn(root.file("a/b")) == std::vector<std::string>{"target"});
    EXPECT_TRUE(filesIn(root.file("a")) == std::vector<std::string>{"b"});
}

TEST(LzhArchive, SafeEntryNames) {
    EXPECT_EQ(safeEntryName("JracDen1.dat"), "JracDen1.dat");
    EXPECT_EQ(safeEntryName("../../evil.dat"), "evil.dat");
    EXPECT_EQ(safeEntryName("..\\..\\evil.dat"), "evil.dat");
    EXPECT_EQ(safeEntryName("/etc/passwd"), "passwd");
    EXPECT_EQ(safeEntryName("dir/"), "");
    EXPECT_EQ(safeEntryName(".."), "");
    EXPECT_EQ(safeEntryName("a/.."), "");
    EXPECT_EQ(safeEntryName("."), "");
    EXPECT_EQ(safeEntryName(""), "");
    EXPECT_EQ(safeEntryName("C:evil.dat"), "");
}

TEST(LzhArchive, DamagedArchivesFailAndLeaveNothingBehind) {
    for (const char* name : {"damaged.lzh", "truncated.lzh", "not_archive.lzh"}) {
        SCOPED_TRACE(name);
        test::JvTestDir dir;
        LzhExtraction r = extractLzhArchive(fixture(name), dir.path());
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.empty());
        EXPECT_TRUE(r.written.empty());
        EXPECT_TRUE(filesIn(dir.path()).empty());
    }
}

TEST(LzhArchive, OutputIsBounded) {
    test::JvTestDir dir;
    // The good archive unpacks to 2160 bytes.
    LzhExtraction r = extractLzhArchive(fixture("good.lzh"), dir.path(), 2000);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(filesIn(dir.path()).empty());
    EXPECT_TRUE(extractLzhArchive(fixture("good.lzh"), dir.path(), 2160).ok);
}

TEST(LzhArchive, MissingTargetFolderFails) {
    test::JvTestDir dir;
    EXPECT_FALSE(extractLzhArchive(fixture("good.lzh"), dir.file("absent")).ok);
}

} // namespace
} // namespace zelkor
