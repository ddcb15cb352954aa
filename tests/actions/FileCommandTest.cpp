#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "actions/DirectoryList.h"
#include "engine/MacroRunner.h"
#include "support/TestDesktop.h"

namespace ordwell::test {
namespace {

namespace fs = std::filesystem;

void SetModificationTime(const fs::path& path, std::int64_t seconds) {
    const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Files left behind in the directory apart from the expected ones, such as
// temporary copies.
std::vector<std::string> Entries(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FileCommands : public testing::Test {
protected:
    TestDesktop desk;
};

TEST_F(FileCommands, FileExistMatchesWildcardsInTheLastComponent) {
    desk.WriteFile("a.txt", "a");
    desk.WriteFile("b.log", "b");
    desk.WriteFile(".hidden", "h");
    desk.WriteFile("x[1].txt", "x");
    fs::create_directory(desk.Dir() / "sub");
    fs::create_directory(desk.Dir() / "empty");
    desk.WriteFile("sub/deep.dat", "d");
    desk.GetEngine().GetSettings().WriteString("Drives", "X", desk.Dir().string());

    const std::pair<const char*, bool> rows[] = {
        {"FileExist(*.txt)", true},
        {"FileExist(?.log)", true},
        {"FileExist(*.doc)", false},
        {"FileExist(sub)", true},
        {"FileExist(*.*)", true},
        {"FileExist(x[1].txt)", true},
        {"FileExist(x?1?.txt)", true},
        {"FileExist(x[1]*)", true},
        {"FileExist(empty\\*)", false},
        {"FileExist(sub\\*.dat)", true},
        {"FileExist(sub/d??p.*)", true},
        {"FileExist(.h*)", true},
        {"FileExist(missing\\*.txt)", false},
        {"FileExist(\"\")", false},
        {"FileExist(x:\\sub\\*.dat)", true},
        {"FileExist(x:\\*.log)", true},
        {"FileExist(x:\\*.exe)", false},
        {"FileExist(b.log)", true},
    };
    for (const auto& [line, expected] : rows) {
        EXPECT_EQ(desk.Line(line), expected) << line;
        EXPECT_TRUE(desk.LastRunner().SyntaxFlag()) << line;
    }
}

TEST_F(FileCommands, FileOlderThanComparesWithTheClock) {
    const std::int64_t now = desk.LocalTime(2001, 5, 1, 12, 0, 0);
    desk.Sim().clock.SetNow(now);
    desk.WriteFile("f.txt", "x");
    SetModificationTime(desk.Dir() / "f.txt", now - 10);

    EXPECT_TRUE(desk.Line("FileOlderThan(f.txt,9)"));
    EXPECT_FALSE(desk.Line("FileOlderThan(f.txt,10)")); // equal is not older
    EXPECT_TRUE(desk.Line("FileOlderThan(f.txt,0)"));
    EXPECT_FALSE(desk.Line("FileOlderThan(f.txt,\"\")")); // empty means 4294967295 seconds
    EXPECT_FALSE(desk.Line("FileOlderThan(f.txt,-1)"));
    EXPECT_FALSE(desk.Line("FileOlderThan(missing.txt,0)"));
    desk.Sim().clock.SetNow(now - 10 + 4'294'967'296LL);
    EXPECT_TRUE(desk.Line("FileOlderThan(f.txt,-1)"));
    desk.Sim().clock.SetNow(now - 10 + 4'294'967'295LL);
    EXPECT_FALSE(desk.Line("FileOlderThan(f.txt,-1)"));
}

TEST_F(FileCommands, IsFileLockedForMissingReadOnlyAndLockedFiles) {
    desk.WriteFile("free.txt", "x");
    desk.WriteFile("readonly.txt", "x");
    fs::permissions(desk.Dir() / "readonly.txt", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(desk.Dir() / "dir");
    EXPECT_FALSE(desk.Line("IsFileLocked(free.txt)"));
    EXPECT_TRUE(desk.Line("IsFileLocked(missing.txt)"));
    EXPECT_TRUE(desk.Line("IsFileLocked(readonly.txt)"));
    EXPECT_TRUE(desk.Line("IsFileLocked(dir)"));

    // Whole-file locks and record locks of another holder.
    desk.WriteFile("flocked.txt", "x");
    const int holder = ::open("flocked.txt", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_SH), 0);
    EXPECT_TRUE(desk.Line("IsFileLocked(flocked.txt)"));
    ::close(holder);
    EXPECT_FALSE(desk.Line("IsFileLocked(flocked.txt)"));

    desk.WriteFile("record.txt", "x");
    const int recorder = ::open("record.txt", O_RDWR | O_CLOEXEC);
    ASSERT_GE(recorder, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(recorder, F_SETLK, &lock), 0);
    EXPECT_TRUE(desk.Line("IsFileLocked(record.txt)"));
    ::close(recorder);
}

TEST_F(FileCommands, CopyNeverOverwritesAndKeepsModeAndTime) {
    desk.WriteFile("src.txt", "content");
    fs::permissions(desk.Dir() / "src.txt", fs::perms::owner_read | fs::perms::owner_exec);
    SetModificationTime(desk.Dir() / "src.txt", 1'000'000'000);
    desk.WriteFile("dst.txt", "old");
    fs::create_directory(desk.Dir() / "dir");

    EXPECT_TRUE(desk.Line("CopyFile(src.txt,copy.txt)"));
    EXPECT_EQ(desk.ReadFile("copy.txt"), "content");
    EXPECT_EQ(fs::status(desk.Dir() / "copy.txt").permissions(), fs::perms::owner_read | fs::perms::owner_exec);
    struct stat info {};
    ASSERT_EQ(::stat("copy.txt", &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1'000'000'000);

    EXPECT_FALSE(desk.Line("CopyFile(src.txt,dst.txt)"));
    EXPECT_FALSE(desk.Line("CopyFile(src.txt,dir)"));
    EXPECT_FALSE(desk.Line("CopyFile(src.txt,src.txt)"));
    EXPECT_FALSE(desk.Line("CopyFile(missing.txt,new.txt)"));
    EXPECT_FALSE(desk.Line("CopyFile(dir,new.txt)"));
    EXPECT_FALSE(desk.Line("CopyFile(src.txt,nodir\\new.txt)"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(desk.ReadFile("dst.txt"), "old");
    EXPECT_EQ(Entries(desk.Dir()), (std::vector<std::string>{"copy.txt", "dir", "dst.txt", "src.txt"}));
}

TEST_F(FileCommands, MoveNeverOverwrites) {
    desk.WriteFile("a.txt", "A");
    desk.WriteFile("b.txt", "B");
    fs::create_directory(desk.Dir() / "dir");
    EXPECT_FALSE(desk.Line("MoveFile(a.txt,b.txt)"));
    EXPECT_EQ(desk.ReadFile("a.txt"), "A");
    EXPECT_EQ(desk.ReadFile("b.txt"), "B");
    EXPECT_TRUE(desk.Line("MoveFile(a.txt,dir\\c.txt)"));
    EXPECT_FALSE(fs::exists(desk.Dir() / "a.txt"));
    EXPECT_EQ(desk.ReadFile("dir/c.txt"), "A");
    EXPECT_TRUE(desk.Line("MoveFile(dir,moved)"));
    EXPECT_TRUE(fs::exists(desk.Dir() / "moved" / "c.txt"));
    EXPECT_FALSE(desk.Line("MoveFile(missing.txt,x.txt)"));
}

TEST_F(FileCommands, MoveAcrossFileSystemsCopiesThenDeletes) {
    struct stat shm {};
    struct stat here {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(desk.Dir().c_str(), &here) != 0 || shm.st_dev == here.st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const fs::path away = fs::path("/dev/shm") / ("ordwell-move-" + std::to_string(::getpid()));
    fs::create_directory(away);
    std::ofstream(away / "far.txt") << "far";
    desk.WriteFile("taken.txt", "here");
    desk.WriteFile("near.txt", "near");

    EXPECT_TRUE(desk.Line("MoveFile(" + (away / "far.txt").string() + ",arrived.txt)"));
    EXPECT_EQ(desk.ReadFile("arrived.txt"), "far");
    EXPECT_FALSE(fs::exists(away / "far.txt"));

    std::ofstream(away / "second.txt") << "second";
    EXPECT_FALSE(desk.Line("MoveFile(" + (away / "second.txt").string() + ",taken.txt)"));
    EXPECT_EQ(desk.ReadFile("taken.txt"), "here");
    EXPECT_TRUE(fs::exists(away / "second.txt"));

    EXPECT_TRUE(desk.Line("MoveFile(near.txt," + (away / "near.txt").string() + ")"));
    EXPECT_FALSE(fs::exists(desk.Dir() / "near.txt"));
    const std::string longName(255, 'l');
    desk.WriteFile("long.txt", "long");
    EXPECT_TRUE(desk.Line("MoveFile(long.txt," + (away / longName).string() + ")"));
    EXPECT_EQ(Entries(away), (std::vector<std::string>{longName, "near.txt", "second.txt"}));
    fs::remove_all(away);
}

TEST_F(FileCommands, DirectoriesAndDeletion) {
    EXPECT_TRUE(desk.Line("CreateDirectory(d)"));
    EXPECT_FALSE(desk.Line("CreateDirectory(d)"));
    EXPECT_FALSE(desk.Line("CreateDirectory(a\\b)")); // only the last component is created
    desk.WriteFile("d/f.txt", "x");
    EXPECT_FALSE(desk.Line("RemoveDirectory(d)"));
    EXPECT_FALSE(desk.Line("DeleteFile(d)"));
    EXPECT_TRUE(desk.Line("DeleteFile(d\\f.txt)"));
    EXPECT_FALSE(desk.Line("DeleteFile(d\\f.txt)"));
    EXPECT_TRUE(desk.Line("CreateDirectory(d\\inner)"));
    EXPECT_TRUE(desk.Line("SetDirectory(d)"));
    EXPECT_TRUE(desk.Line("WriteToFile(here.txt,x)")); // relative paths follow the new directory
    EXPECT_TRUE(desk.Line("RemoveDirectory(inner)"));
    EXPECT_FALSE(desk.Line("SetDirectory(nowhere)"));
    EXPECT_EQ(desk.ReadFile("d/here.txt"), "x");
}

TEST_F(FileCommands, FindFileSearchesListsAndThePath) {
    fs::create_directories(desk.Dir() / "one");
    fs::create_directories(desk.Dir() / "two");
    fs::create_directories(desk.Dir() / "path");
    desk.WriteFile("two/tool.cfg", "t");
    desk.WriteFile("path/sh", "not the shell");
    desk.GetEngine().GetSettings().WriteString("Drives", "Q", (desk.Dir() / "two").string());
    const std::string two = (desk.Dir() / "two" / "tool.cfg").string();

    EXPECT_TRUE(desk.Line("FindFile(tool.cfg,one;two,%A)"));
    EXPECT_EQ(desk.Var('A'), two);
    desk.SetVar('A', "");
    EXPECT_TRUE(desk.Line("FindFile(tool.cfg,one:" + (desk.Dir() / "two").string() + ",%A)"));
    EXPECT_EQ(desk.Var('A'), two);
    EXPECT_TRUE(desk.Line("FindFile(tool.cfg,q:\\,%B)"));
    EXPECT_EQ(desk.Var('B'), two);
    EXPECT_FALSE(desk.Line("FindFile(tool.cfg,one,%C)"));
    EXPECT_EQ(desk.Var('C'), "");
    EXPECT_TRUE(desk.Line("FindFile(tool.cfg,two,notavariable)"));
    EXPECT_FALSE(desk.Line("FindFile(tool.cfg,PATH)"));

    // "PATH" and an empty text search the program path; "path" is a directory.
    EXPECT_TRUE(desk.Line("FindFile(sh,PATH,%D)"));
    EXPECT_NE(desk.Var('D'), (desk.Dir() / "path" / "sh").string());
    EXPECT_TRUE(fs::path(desk.Var('D')).is_absolute());
    EXPECT_TRUE(desk.Line("FindFile(sh,\"\",%E)"));
    EXPECT_EQ(desk.Var('E'), desk.Var('D'));
    EXPECT_TRUE(desk.Line("FindFile(sh,path,%F)"));
    EXPECT_EQ(desk.Var('F'), (desk.Dir() / "path" / "sh").string());
    EXPECT_TRUE(desk.Line("FindFile(sh,path,%G,extra)")); // four arguments: the standard order
    EXPECT_EQ(desk.Var('G'), "");
    desk.Line("FindFile(tool.cfg)");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
}

TEST_F(FileCommands, FindFileHasNoLengthLimit) {
    const std::string longName(200, 'n');
    const fs::path deep = desk.Dir() / longName / longName;
    fs::create_directories(deep);
    std::ofstream(deep / (longName + ".dat")) << "x";
    const std::string list = "elsewhere;" + longName + "/" + longName;
    ASSERT_GT(list.size(), 260U);
    EXPECT_TRUE(desk.Line("FindFile(" + longName + ".dat," + list + ",%A)"));
    EXPECT_EQ(desk.Var('A'), (deep / (longName + ".dat")).string());
    EXPECT_TRUE(desk.Line("FindFile(" + longName + "/" + longName + "/" + longName + ".dat,.,%B)"));
    EXPECT_EQ(desk.Var('B'), desk.Var('A'));
}

TEST_F(FileCommands, GetFileSize) {
    desk.WriteFile("empty.txt", "");
    desk.WriteFile("five.txt", "12345");
    fs::create_directory(desk.Dir() / "dir");
    EXPECT_TRUE(desk.Line("GetFileSize(empty.txt,%A)"));
    EXPECT_EQ(desk.Var('A'), "0");
    EXPECT_TRUE(desk.Line("GetFileSize(five.txt,%A)"));
    EXPECT_EQ(desk.Var('A'), "5");
    EXPECT_TRUE(desk.Line("GetFileSize(missing.txt,%A)"));
    EXPECT_TRUE(desk.Line("GetFileSize(dir,%A)"));
    EXPECT_EQ(desk.Var('A'), "5");
    EXPECT_TRUE(desk.Line("GetFileSize(five.txt,A)"));
}

TEST_F(FileCommands, WritesAppendTextAsGiven) {
    EXPECT_TRUE(desk.Line("WriteLineToFile(lines.txt,first)"));
    EXPECT_TRUE(desk.Line("WriteLineToFile(lines.txt,second)"));
    EXPECT_EQ(desk.ReadFile("lines.txt"), "first\r\nsecond\r\n");
    EXPECT_TRUE(desk.Line("WriteToFile(run.txt,ab)"));
    EXPECT_TRUE(desk.Line("WriteToFile(run.txt,cd)"));
    EXPECT_EQ(desk.ReadFile("run.txt"), "abcd");
    const std::string longText(1000, 'z');
    EXPECT_TRUE(desk.Line("WriteToFile(long.txt," + longText + ")"));
    EXPECT_EQ(desk.ReadFile("long.txt"), longText);
    EXPECT_FALSE(desk.Line("WriteToFile(nodir\\x.txt,a)"));

    desk.GetEngine().GetSettings().WriteString("Drives", "D", desk.Dir().string());
    EXPECT_TRUE(desk.Line("WriteLineToFile(d:\\mapped.txt,m)"));
    EXPECT_EQ(desk.ReadFile("mapped.txt"), "m\r\n");
}

TEST_F(FileCommands, AReadOnlyFileIsNeitherWrittenNorDeletedWhoeverRuns) {
    desk.WriteFile("ro.txt", "keep");
    fs::permissions(desk.Dir() / "ro.txt", fs::perms::owner_read);
    EXPECT_FALSE(desk.Line("WriteLineToFile(ro.txt,more)"));
    EXPECT_FALSE(desk.Line("WriteToFile(ro.txt,more)"));
    EXPECT_FALSE(desk.Line("DeleteFile(ro.txt)"));
    EXPECT_EQ(desk.ReadFile("ro.txt"), "keep");
    fs::permissions(desk.Dir() / "ro.txt", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(desk.Line("DeleteFile(ro.txt)"));
}

TEST_F(FileCommands, CopyAndMoveTakeEveryNameTheFileSystemTakes) {
    desk.WriteFile("src.txt", "content");
    for (const size_t length : {240U, 249U, 255U}) {
        const std::string copy(length, 'c');
        const std::string moved(length, 'm');
        EXPECT_TRUE(desk.Line("CopyFile(src.txt," + copy + ")")) << length;
        EXPECT_EQ(desk.ReadFile(copy), "content") << length;
        EXPECT_TRUE(desk.Line("MoveFile(" + copy + "," + moved + ")")) << length;
        EXPECT_EQ(desk.ReadFile(moved), "content") << length;
        fs::remove(desk.Dir() / moved);
    }
    EXPECT_FALSE(desk.Line("CopyFile(src.txt," + std::string(256, 'x') + ")"));
    EXPECT_EQ(Entries(desk.Dir()), std::vector<std::string>{"src.txt"});
}

TEST(DirectoryList, SplitsAtSemicolonsAndColonsButNotDriveLetters) {
    using List = std::vector<std::string>;
    EXPECT_EQ(SplitDirectoryList("c:\\tools;d:\\bin"), (List{"c:\\tools", "d:\\bin"}));
    EXPECT_EQ(SplitDirectoryList("/usr/bin:/bin"), (List{"/usr/bin", "/bin"}));
    EXPECT_EQ(SplitDirectoryList(";a;;bc:"), (List{"a", "bc"}));
    EXPECT_EQ(SplitDirectoryList("x:"), (List{"x:"}));
    EXPECT_EQ(SplitDirectoryList("ab:c:\\d"), (List{"ab", "c:\\d"}));
    EXPECT_EQ(SplitDirectoryList(""), List{});
}

} // namespace
} // namespace ordwell::test
