// Where the program works: the user's own folder and making a folder ready.
#include "core/program_folder.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnv;

TEST(UserDataFolder, FollowsXdgDataHomeOnlyWhenItIsAnAbsolutePath) {
    ScopedEnv home("HOME", "/home/racer");
    {
        ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(userDataFolder(), "/home/racer/.local/share/zelkor2k/");
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/data/racer/");
        EXPECT_EQ(userDataFolder(), "/data/racer/zelkor2k/");
    }
    {
        // A relative value is invalid and ignored, as the base directory rules say.
        ScopedEnv xdg("XDG_DATA_HOME", "data");
        EXPECT_EQ(userDataFolder(), "/home/racer/.local/share/zelkor2k/");
    }
}

TEST(DetectProgramFolder, IsTheUsersFolderWhenTheExecutableHasNoPictures) {
    // The test executables lie apart from the program's Image folder.
    ASSERT_FALSE(fs::exists(executableFolder() + "Image"));
    ScopedEnv xdg("XDG_DATA_HOME", "/data/racer");
    EXPECT_EQ(detectProgramFolder(), "/data/racer/zelkor2k/");
    const fs::path installed = fs::path(executableFolder()).parent_path().parent_path();
    EXPECT_EQ(programFilesFolder(), installed.string() + "/share/zelkor2k/");
}

TEST(ChooseProgramFolder, MakesTheGivenFolderWithItsPictureFolder) {
    test::TempFolder temp("zelkor-folder");
    const std::string given = temp.path() + "new/deeper";
    const Result<std::string> folder = chooseProgramFolder(given);
    ASSERT_TRUE(folder) << folder.message();
    EXPECT_EQ(*folder, given + "/");
    EXPECT_TRUE(fs::is_directory(*folder + "Image"));
    // Working folders are left to what first writes into them.
    EXPECT_FALSE(fs::exists(*folder + "HTML"));
    // Ready folders stay as they are.
    EXPECT_TRUE(chooseProgramFolder(*folder));
    // A relative folder is taken from the current folder and made absolute.
    const fs::path before = fs::current_path();
    fs::current_path(temp.path());
    EXPECT_EQ(chooseProgramFolder("new/./deeper").valueOr(""), *folder);
    fs::current_path(before);
}

TEST(ChooseProgramFolder, NamesTheFolderAndTheReasonWhenItCannotBeUsed) {
    test::TempFolder temp("zelkor-folder");
    std::FILE* plain = std::fopen(temp.file("plain").c_str(), "w");
    ASSERT_NE(plain, nullptr);
    std::fclose(plain);
    EXPECT_EQ(chooseProgramFolder(temp.file("plain") + "/sub").message(),
              "フォルダ'" + temp.file("plain") + "/sub/'を作成できません (Not a directory)");

    // A working folder that is a file blocks the folder too.
    fs::create_directories(temp.file("prog"));
    std::FILE* blocker = std::fopen(temp.file("prog/KTDAT").c_str(), "w");
    ASSERT_NE(blocker, nullptr);
    std::fclose(blocker);
    EXPECT_EQ(chooseProgramFolder(temp.file("prog")).message(),
              "フォルダ'" + temp.file("prog/KTDAT") + "'を作成できません (Not a directory)");
}

TEST(ChooseProgramFolder, RefusesAFolderItCannotWrite) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into every folder";
    test::TempFolder temp("zelkor-folder");
    fs::create_directories(temp.file("prog/HTML"));
    ::chmod(temp.file("prog/HTML").c_str(), 0555);
    EXPECT_EQ(chooseProgramFolder(temp.file("prog")).message(),
              "フォルダ'" + temp.file("prog/HTML") + "'に書き込めません (Permission denied)");
    ::chmod(temp.file("prog/HTML").c_str(), 0755);
}

} // namespace
} // namespace zelkor
