#include "text/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

class FileIo : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelkor_fileio_XXXXXX";
        dir = ::mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir;
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

} // namespace
} // namespace zelkor
