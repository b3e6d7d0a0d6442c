#include "support/temp_folder.h"
#include "text/file_io.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace zelkor {
namespace {

class FileIo : public ::testing::Test {
  protected:
    test::TempFolder temp{"zelkor-fileio"};
    std::string dir = temp.dir();
};

TEST_F(FileIo, WriteTruncatesAndReadsBack) {
    std::string path = dir + "/a.txt";
    ASSERT_TRUE(writeWholeFile(path, "long text here"));
    ASSERT_TRUE(writeWholeFile(path, std::string("ab\0c", 4)));
    EXPECT_EQ(readWholeFile(path), std::string("ab\0c", 4));
    EXPECT_FALSE(readWholeFile(dir + "/missing").has_value());
    EXPECT_FALSE(readWholeFile(dir).has_value());
}

TEST_F(FileIo, AtomicWriteReplacesOrLeavesTheOldFile) {
    std::string path = dir + "/b.zel";
    ASSERT_TRUE(writeFileAtomic(path, "first"));
    ASSERT_TRUE(writeFileAtomic(path, "second"));
    EXPECT_EQ(readWholeFile(path), "second");
    // A target that is a directory cannot be replaced: the write fails and
    // leaves no temporary file behind.
    std::filesystem::create_directory(dir + "/sub");
    EXPECT_FALSE(writeFileAtomic(dir + "/sub", "x"));
    size_t count = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir))
        ++count;
    EXPECT_EQ(count, 2u);
    EXPECT_FALSE(writeFileAtomic(dir + "/nofolder/c.zel", "x"));
}

TEST_F(FileIo, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
    const std::string fifo = dir + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir}) {
        FileProblem problem = FileProblem::None;
        EXPECT_FALSE(readWholeFile(path, kAnyFileLimit, &problem)) << path;
        EXPECT_EQ(problem, FileProblem::NotRegularFile) << path;
        EXPECT_FALSE(writeWholeFile(path, "x", &problem)) << path;
        EXPECT_EQ(problem, FileProblem::NotRegularFile) << path;
    }
    // A replaced page keeps its rights, a new one gets the mask's.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writePageFile(dir + "/kept", "old"));
    EXPECT_EQ(std::filesystem::status(dir + "/kept").permissions(), std::filesystem::perms(0644));
    ::chmod((dir + "/kept").c_str(), 0640);
    ASSERT_TRUE(writePageFile(dir + "/kept", "new"));
    EXPECT_EQ(std::filesystem::status(dir + "/kept").permissions(), std::filesystem::perms(0640));
    ::umask(mask);
    // Pages are rewritten in place, through a link.
    ASSERT_TRUE(writeWholeFile(dir + "/page", "old"));
    std::filesystem::create_symlink("page", dir + "/link");
    ASSERT_TRUE(writeWholeFile(dir + "/link", "new"));
    EXPECT_EQ(readWholeFile(dir + "/page"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link"));
}

TEST_F(FileIo, PagesOfAFolderAreWrittenAsByTheirWholePaths) {
    const PageFolder pages(dir + "/");
    ASSERT_TRUE(pages.write("a.html", "first"));
    ASSERT_TRUE(pages.write("a.html", "second"));
    EXPECT_EQ(readWholeFile(dir + "/a.html"), "second");
    // A link is followed from the folder of the link; the link stays.
    std::filesystem::create_directory(dir + "/other");
    std::filesystem::create_symlink("other/b.html", dir + "/link.html");
    ASSERT_TRUE(pages.write("link.html", "through"));
    EXPECT_EQ(readWholeFile(dir + "/other/b.html"), "through");
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.html"));
    // A folder in the page's place is refused, leaving nothing behind.
    EXPECT_FALSE(pages.write("other", "x"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
    EXPECT_FALSE(PageFolder(dir + "/missing/").write("c.html", "x"));
    // A write that fails part-way (here at a limit of four bytes a file)
    // takes back a new page and leaves an old one as it was.
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unchanged = limit;
    limit.rlim_cur = 4;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    EXPECT_FALSE(pages.write("new.html", "cut after four"));
    EXPECT_FALSE(pages.write("a.html", "cut after four"));
    ::setrlimit(RLIMIT_FSIZE, &unchanged);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(std::filesystem::exists(dir + "/new.html"));
    EXPECT_EQ(readWholeFile(dir + "/a.html"), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
}

} // namespace
} // namespace zelkor
