#include "archive/lzh_archive.h"
#include "platform/library_on_demand.h"
#include "support/archive_writer.h"
#include "support/jv_test_dir.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace zelkor {
namespace {

namespace fs = std::filesystem;
using test::lzhStoredEntry;

std::string fixture(const std::string& name) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/archive/fixtures/" + name;
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

std::string writeArchive(const test::JvTestDir& dir, const std::string& bytes) {
    const std::string path = dir.file("made.lzh");
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
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

// Whether a library of that name is loaded in this process.
bool loaded(const std::string& name) {
    return contents("/proc/self/maps").find(name) != std::string::npos;
}

// A race card is told from an archive without loading the archive library
// or SQLite (a fresh process looks at what it has loaded), and the program
// defines none of the library's symbols; an archive loads it. A library or
// function that is not there gives no function and says why.
TEST(LzhArchive, LibrariesLoadedOnlyWhenUsed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(isLzhArchive(fixture("not_archive.lzh")) || loaded("libarchive") ||
                           loaded("libsqlite3") || ::dlsym(RTLD_DEFAULT, "archive_read_new")),
                testing::ExitedWithCode(0), "");
    EXPECT_TRUE(isLzhArchive(fixture("good.lzh")));
    EXPECT_TRUE(loaded("libarchive"));

    LibraryOnDemand missing("libzelkor-missing.so.0");
    EXPECT_EQ(missing.function<int (*)()>("f"), nullptr);
    EXPECT_NE(missing.error().find("libzelkor-missing.so.0"), std::string::npos);
    LibraryOnDemand math("libm.so.6");
    const auto cosine = math.function<double (*)(double)>("cos");
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0.0), 1.0);
    EXPECT_TRUE(math.error().empty());
    double (*none)(double) = cosine;
    EXPECT_FALSE(math.find(none, "zelkor_missing"));
    EXPECT_NE(math.error().find("zelkor_missing"), std::string::npos);
}

TEST(LzhArchive, ExtractsEveryFileWithItsContents) {
    test::JvTestDir dir;
    Result<LzhExtraction> r = extractLzhArchive(fixture("good.lzh"), dir.path());
    ASSERT_TRUE(r) << r.message();
    EXPECT_EQ(r->written, (std::vector<std::string>{"JracDen1.dat", "JracUmaj.dat", "JracChok.dat",
                                                    "JracKisi.dat"}));
    EXPECT_TRUE(r->skipped.empty());
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
    ASSERT_TRUE(extractLzhArchive(fixture("no_staff.lzh"), dir.path()));
    EXPECT_EQ(contents(dir.file("JracDen1.dat")), fixtureLines("race card"));
}

TEST(LzhArchive, ParentFolderNamesStayInsideTheTarget) {
    test::JvTestDir root;
    fs::create_directories(root.file("a/b/target"));
    std::string target = root.file("a/b/target");
    Result<LzhExtraction> r = extractLzhArchive(fixture("evil.lzh"), target);
    ASSERT_TRUE(r) << r.message();
    // "../../evil.dat" is none of the four files: it lands nowhere.
    EXPECT_EQ(r->written, (std::vector<std::string>{"JracDen1.dat", "JracUmaj.dat"}));
    EXPECT_EQ(filesIn(target), (std::vector<std::string>{"JracDen1.dat", "JracUmaj.dat"}));
    EXPECT_FALSE(fs::exists(root.file("evil.dat")));
    EXPECT_FALSE(fs::exists(root.file("a/evil.dat")));
    EXPECT_FALSE(fs::exists(root.file("a/b/evil.dat")));
}

TEST(LzhArchive, UnsafeNamesAndLinksAreSkipped) {
    test::JvTestDir root;
    fs::create_directories(root.file("a/b/target"));
    std::string target = root.file("a/b/target");
    Result<LzhExtraction> r = extractLzhArchive(fixture("evil_names.lzh"), target);
    ASSERT_TRUE(r) << r.message();
    // "..\..\evil2.dat", "..", the absolute name, "C:..." and the link are
    // skipped; only the race card is extracted.
    EXPECT_EQ(r->written, (std::vector<std::string>{"JracDen1.dat"}));
    EXPECT_EQ(r->skipped.size(), 5u);
    EXPECT_EQ(filesIn(target), (std::vector<std::string>{"JracDen1.dat"}));
    EXPECT_EQ(contents(fs::path(target) / "JracDen1.dat"), "crafted card\r\n");
    EXPECT_TRUE(filesIn(root.file("a/b")) == std::vector<std::string>{"target"});
    EXPECT_TRUE(filesIn(root.file("a")) == std::vector<std::string>{"b"});
}

// An absolute name is taken by its last component: one of the four files
// lands in the target, anything else nowhere, never at the path it names.
TEST(LzhArchive, AbsoluteNamesLandOnlyInTheTarget) {
    test::JvTestDir root, dir;
    const std::string target = root.file("target");
    fs::create_directories(target);
    const std::string archive =
        writeArchive(dir, lzhStoredEntry(root.file("JracUmaj.dat"), "horses\r\n") +
                              lzhStoredEntry(root.file("evil.dat"), "evil\r\n") + '\0');
    Result<LzhExtraction> r = extractLzhArchive(archive, target);
    ASSERT_TRUE(r) << r.message();
    EXPECT_EQ(r->written, (std::vector<std::string>{"JracUmaj.dat"}));
    EXPECT_EQ(r->skipped.size(), 1u);
    EXPECT_EQ(filesIn(root.path()), (std::vector<std::string>{"target"}));
    EXPECT_EQ(filesIn(target), (std::vector<std::string>{"JracUmaj.dat"}));
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
        Result<LzhExtraction> r = extractLzhArchive(fixture(name), dir.path());
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.message().empty());
        EXPECT_TRUE(filesIn(dir.path()).empty());
    }
}

TEST(LzhArchive, OutputIsBounded) {
    test::JvTestDir dir;
    // The good archive unpacks to 2160 bytes.
    Result<LzhExtraction> r = extractLzhArchive(fixture("good.lzh"), dir.path(), 2000);
    EXPECT_EQ(r.message(), "the archive unpacks to more than the allowed size");
    EXPECT_TRUE(filesIn(dir.path()).empty());
    EXPECT_TRUE(extractLzhArchive(fixture("good.lzh"), dir.path(), 2160));
}

TEST(LzhArchive, MissingTargetFolderFails) {
    test::JvTestDir dir;
    EXPECT_EQ(extractLzhArchive(fixture("good.lzh"), dir.file("absent")).message(),
              "the target folder does not exist");
}

} // namespace
} // namespace zelkor

namespace zelkor {
namespace {

TEST(LzhArchive, OnlyTheFourFilesAreExtractedWhateverTheirCase) {
    test::JvTestDir dir, out;
    const std::string archive =
        writeArchive(dir, lzhStoredEntry("README.TXT", "read me\r\n") +
                              lzhStoredEntry("説明.txt", "read me\r\n") + // CP932 as stored
                              lzhStoredEntry("DATA\\JRACDEN1.DAT", "card\r\n") +
                              lzhStoredEntry("jracumaj.dat", "horses\r\n") +
                              lzhStoredEntry("JracKisi.dat.bak", "old\r\n") + std::string(1, '\0'));
    Result<LzhExtraction> r = extractLzhArchive(archive, out.path());
    ASSERT_TRUE(r) << r.message();
    EXPECT_EQ(r->written, (std::vector<std::string>{"JracDen1.dat", "JracUmaj.dat"}));
    EXPECT_EQ(r->skipped, (std::vector<std::string>{"README.TXT", "説明.txt", "JracKisi.dat.bak"}));
    EXPECT_EQ(filesIn(out.path()), (std::vector<std::string>{"JracDen1.dat", "JracUmaj.dat"}));
    EXPECT_EQ(contents(out.file("JracDen1.dat")), "card\r\n");
    EXPECT_EQ(contents(out.file("JracUmaj.dat")), "horses\r\n");
}

TEST(LzhArchive, AFloodOfEntriesIsRefusedAndLeavesNothing) {
    test::JvTestDir dir, out;
    std::string flood = lzhStoredEntry("JracDen1.dat", "card\r\n");
    for (int i = 0; i < kMaxArchiveEntries; ++i)
        flood += lzhStoredEntry("e" + std::to_string(i), "");
    EXPECT_EQ(extractLzhArchive(writeArchive(dir, flood + '\0'), out.path()).message(),
              "too many entries");
    EXPECT_TRUE(filesIn(out.path()).empty());

    // One entry fewer is an archive like any other.
    flood.resize(flood.size() -
                 lzhStoredEntry("e" + std::to_string(kMaxArchiveEntries - 1), "").size());
    EXPECT_TRUE(extractLzhArchive(writeArchive(dir, flood + '\0'), out.path()));
    EXPECT_EQ(filesIn(out.path()), (std::vector<std::string>{"JracDen1.dat"}));
}

TEST(LzhArchive, EntriesMayNotOutgrowWhatTheArchiveHolds) {
    test::JvTestDir dir;
    const std::string card(100, 'x');
    struct Case {
        const char* what;
        std::string bytes;
        const char* error;
    };
    const Case cases[] = {
        // Packed data that would run past the end of the file.
        {"cut short", lzhStoredEntry("JracDen1.dat", card).substr(0, 80),
         "an entry larger than the rest of the archive"},
        // More output than the header declares.
        {"longer than declared", lzhStoredEntry("JracDen1.dat", card, 60) + '\0',
         "damaged entry JracDen1.dat"},
        // A declared length no archive of this size can unpack to.
        {"bomb", lzhStoredEntry("JracDen1.dat", card, 1000000000) + '\0',
         "the archive unpacks to more than the allowed size"},
        {"beyond the ratio", lzhStoredEntry("JracDen1.dat", card, 200 * 200) + '\0',
         "the archive unpacks to more than the allowed size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::JvTestDir out;
        EXPECT_EQ(extractLzhArchive(writeArchive(dir, c.bytes), out.path()).message(), c.error);
        EXPECT_TRUE(filesIn(out.path()).empty());
    }
}

TEST(LzhArchive, MethodsThatCannotBeDecodedAreNoArchive) {
    test::JvTestDir dir;
    std::string entry = lzhStoredEntry("JracDen1.dat", "card\r\n");
    EXPECT_TRUE(isLzhArchive(writeArchive(dir, entry + '\0')));
    entry[5] = '1';                             // -lh1-
    entry[1] = static_cast<char>(entry[1] + 1); // header checksum
    EXPECT_FALSE(isLzhArchive(writeArchive(dir, entry + '\0')));
}

} // namespace
} // namespace zelkor
