#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "actions/IniCommands.h"
#include "support/ForkedChild.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

namespace fs = std::filesystem;
using test::ForkedChild;
using test::TestDesktop;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// Runs the lines in a forked child, so that a line that hangs fails the test;
// true when the child ended in time.
bool LinesEndInAChild(TestDesktop& desk, const std::vector<std::string>& lines) {
    ForkedChild child;
    child.Start([&] {
#ifndef __SANITIZE_ADDRESS__
        // A reader that does not stop at its bound must not eat the memory of
        // the machine before the wait gives up.
        const rlimit memory{rlim_t{1} << 30, rlim_t{1} << 30};
        ::setrlimit(RLIMIT_DATA, &memory);
#endif
        for (const std::string& line : lines) {
            desk.Line(line);
        }
        return 0;
    });
    return child.Wait() == 0;
}

// Runs the body in a forked child as the user "nobody" when the test runs as
// root, and as the user itself otherwise; true when the body answered true.
bool AsAnotherUser(const std::function<bool()>& body) {
    ForkedChild child;
    child.Start([&] {
        if (::geteuid() == 0 && (::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)) {
            return 2;
        }
        return body() ? 0 : 1;
    });
    return child.Wait() == 0;
}

TEST(SplitIniEntry, NeedsALeadingBracketAndAClosingOne) {
    struct Row {
        const char* reference;
        bool ok;
        const char* section;
        const char* item;
    };
    const Row rows[] = {
        {"[strings]string1", true, "strings", "string1"},
        {"[a]b]c", true, "a", "b]c"},
        {"[]item", true, "", "item"},
        {"[S]", true, "S", ""},
        {"strings]string1", false, "", ""},
        {" [S]k", false, "", ""},
        {"", false, "", ""},
    };
    for (const Row& row : rows) {
        const auto entry = SplitIniEntry(row.reference);
        ASSERT_EQ(entry.has_value(), row.ok) << row.reference;
        if (entry) {
            EXPECT_EQ(entry->section, row.section) << row.reference;
            EXPECT_EQ(entry->item, row.item) << row.reference;
        }
    }
}

TEST(IniCommands, WriteCreatesTheFileAndReadFindsTheValue) {
    TestDesktop desk;
    EXPECT_TRUE(desk.Line(R"(WriteToIniFile("app.ini","[Options]Colour","blue"))"));
    EXPECT_EQ(desk.ReadFile("app.ini"), "[Options]\r\nColour=blue\r\n");
    EXPECT_TRUE(desk.Line(R"(GetFromIniFile("app.ini","[options]COLOUR",%A))"));
    EXPECT_EQ(desk.Var('A'), "blue");

    // Paths are macro paths: a backslash separates.
    std::filesystem::create_directory(desk.Dir() / "conf");
    desk.Line(R"(WriteToIniFile("conf\sub.ini","[S]k","v"))");
    EXPECT_EQ(desk.ReadFile("conf/sub.ini"), "[S]\r\nk=v\r\n");
}

TEST(IniCommands, HandEditsBeforeAndAfterAWriteAreKept) {
    TestDesktop desk;
    const std::string handWritten = "; Written by hand\n"
                                    "[Paths]\n"
                                    "   Home =   /home/ann   \n"
                                    "Temp=/tmp\n"
                                    "\n"
                                    "  ; window layout below\n"
                                    "[Window]\r\n"
                                    "Width = 640\r\n";
    desk.WriteFile("app.ini", handWritten);
    desk.Line(R"(WriteToIniFile("app.ini","[paths]HOME","/srv/ann"))");
    std::string expected = handWritten;
    expected.replace(expected.find("/home/ann   "), 12, "/srv/ann");
    EXPECT_EQ(desk.ReadFile("app.ini"), expected);

    // Edited by hand again, then read and written once more.
    desk.WriteFile("app.ini", expected + "Height=\"480\"\r\n");
    desk.Line(R"(GetFromIniFile("app.ini","[Window]Height",%A))");
    EXPECT_EQ(desk.Var('A'), "480");
    desk.Line(R"(WriteToIniFile("app.ini","[Fresh]key","1"))");
    EXPECT_EQ(desk.ReadFile("app.ini"), expected + "Height=\"480\"\r\n\n[Fresh]\nkey=1\n");
}

TEST(IniCommands, FailedWritesAnswerFalseAndReadsFindAnEmptyText) {
    TestDesktop desk;
    desk.WriteFile("app.ini", "[strings]\nstring1=kept\n");
    desk.SetVar('B', "two\n[strings]\nstring2=injected");
    const char* writes[] = {
        R"(WriteToIniFile("app.ini","strings]string1","lost"))",
        R"(WriteToIniFile("app.ini","[strings]string1",%B))",
        R"(WriteToIniFile("new.ini","strings]string1","lost"))",
        R"(WriteToIniFile("missing-dir/new.ini","[s]k","lost"))",
        R"(WriteToIniFile("","[s]k","lost"))",
    };
    for (const char* line : writes) {
        EXPECT_FALSE(desk.Line(line)) << line;
        EXPECT_TRUE(desk.LastRunner().SyntaxFlag()) << line;
    }
    // Writing the value the file already holds changes nothing, and succeeds.
    EXPECT_TRUE(desk.Line(R"(WriteToIniFile("app.ini","[strings]string1","kept"))"));
    EXPECT_EQ(desk.ReadFile("app.ini"), "[strings]\nstring1=kept\n");
    EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "new.ini"));

    const char* reads[] = {
        R"(GetFromIniFile("app.ini","[strings]missing",%A))",
        R"(GetFromIniFile("app.ini","strings]string1",%A))",
        R"(GetFromIniFile("absent.ini","[strings]string1",%A))",
    };
    for (const char* line : reads) {
        desk.SetVar('A', "stale");
        EXPECT_TRUE(desk.Line(line)) << line;
        EXPECT_EQ(desk.Var('A'), "") << line;
    }
    EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "absent.ini"));
}

TEST(IniCommands, LongValuesAreWrittenAndReadWhole) {
    TestDesktop desk;
    for (const size_t length : {99U, 100U, 4000U}) {
        const std::string value(length, 'x');
        desk.SetVar('B', value);
        desk.Line(R"(WriteToIniFile("long.ini","[S]k",%B))");
        desk.Line(R"(GetFromIniFile("long.ini","[S]k",%A))");
        EXPECT_EQ(desk.Var('A'), value) << length;
    }
    EXPECT_EQ(desk.ReadFile("long.ini"), "[S]\r\nk=" + std::string(4000, 'x') + "\r\n");
}

TEST(IniCommands, WritesKeepTheFileALinkAndRespectAReadOnlyFile) {
    TestDesktop desk;
    desk.WriteFile("real.ini", "[S]\nk=1\n");
    std::filesystem::create_symlink("real.ini", desk.Dir() / "link.ini");
    desk.Line(R"(WriteToIniFile("link.ini","[S]k","2"))");
    EXPECT_TRUE(std::filesystem::is_symlink(desk.Dir() / "link.ini"));
    EXPECT_EQ(desk.ReadFile("real.ini"), "[S]\nk=2\n");

    desk.WriteFile("locked.ini", "[S]\nk=1\n");
    std::filesystem::permissions(desk.Dir() / "locked.ini", std::filesystem::perms::owner_read);
    EXPECT_FALSE(desk.Line(R"(WriteToIniFile("locked.ini","[S]k","2"))"));
    EXPECT_EQ(desk.ReadFile("locked.ini"), "[S]\nk=1\n");
}

TEST(IniCommands, AWriteThroughALinkWhoseTargetIsMissingCreatesTheTarget) {
    TestDesktop desk;
    fs::create_directory(desk.Dir() / "conf");
    fs::create_symlink("missing.ini", desk.Dir() / "app.ini");
    // A chain: the relative target of the second link is read from its own
    // directory.
    fs::create_symlink("conf/second.ini", desk.Dir() / "first.ini");
    fs::create_symlink("target.ini", desk.Dir() / "conf" / "second.ini");
    fs::create_symlink("loop-b.ini", desk.Dir() / "loop-a.ini");
    fs::create_symlink("loop-a.ini", desk.Dir() / "loop-b.ini");
    ASSERT_TRUE(LinesEndInAChild(desk, {
                                           R"(WriteToIniFile("app.ini","[s]k","v"))",
                                           R"(WriteToIniFile("first.ini","[s]k","chained"))",
                                           R"(WriteToIniFile("loop-a.ini","[s]k","lost"))",
                                       }));
    EXPECT_TRUE(fs::is_symlink(desk.Dir() / "app.ini"));
    EXPECT_EQ(desk.ReadFile("missing.ini"), "[s]\r\nk=v\r\n");
    EXPECT_TRUE(fs::is_symlink(desk.Dir() / "conf" / "second.ini"));
    EXPECT_EQ(desk.ReadFile("conf/target.ini"), "[s]\r\nk=chained\r\n");
    EXPECT_TRUE(fs::is_symlink(desk.Dir() / "loop-a.ini"));
    EXPECT_TRUE(fs::is_symlink(desk.Dir() / "loop-b.ini"));
}

TEST(IniCommands, FilesThatAreNoRegularFilesAreNeitherReadNorWritten) {
    TestDesktop desk;
    ASSERT_EQ(::mkfifo("settings.fifo", 0666), 0);
    desk.SetVar('A', "stale");
    desk.SetVar('B', "stale");
    ASSERT_TRUE(LinesEndInAChild(desk, {
                                           R"(WriteToIniFile("settings.fifo","[s]k","v"))",
                                           R"(GetFromIniFile("settings.fifo","[s]k",%A))",
                                           R"(WriteToIniFile("/dev/zero","[s]k","v"))",
                                           R"(GetFromIniFile("/dev/zero","[s]k",%B))",
                                       }));
    const int reader = ::open("settings.fifo", O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0);
    ::close(reader);
    EXPECT_TRUE(desk.Line(R"(GetFromIniFile("/dev/zero","[s]k",%B))"));
    EXPECT_EQ(desk.Var('B'), "");
}

TEST(IniCommands, ANewFileWithALongNameGetsItsValue) {
    TestDesktop desk;
    for (const size_t length : {249U, 255U}) {
        const std::string name = std::string(length - 4, 'n') + ".ini";
        desk.Line("WriteToIniFile(" + name + ",[s]k,v)");
        EXPECT_EQ(desk.ReadFile(name), "[s]\r\nk=v\r\n") << length;
    }
}

TEST(IniCommands, AWriteKeepsTheFilesLinksOwnerAndMode) {
    TestDesktop desk;
    desk.WriteFile("app.ini", "[s]\nk=1\n");
    fs::create_hard_link(desk.Dir() / "app.ini", desk.Dir() / "other-name.ini");
    desk.Line(R"(WriteToIniFile("app.ini","[s]k","2"))");
    EXPECT_EQ(desk.ReadFile("other-name.ini"), "[s]\nk=2\n");
    EXPECT_EQ(fs::hard_link_count(desk.Dir() / "app.ini"), 2U);

    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    // Root writes a user's private file: it stays the user's, and private.
    desk.WriteFile("user.ini", "[s]\nk=1\n");
    ASSERT_EQ(::chown("user.ini", kNobody, kNoGroup), 0);
    ASSERT_EQ(::chmod("user.ini", 0600), 0);
    desk.Line(R"(WriteToIniFile("user.ini","[s]k","2"))");
    struct stat info {};
    ASSERT_EQ(::stat("user.ini", &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNoGroup);
    EXPECT_EQ(info.st_mode & 07777, 0600U);
    EXPECT_EQ(desk.ReadFile("user.ini"), "[s]\nk=2\n");
}

TEST(IniCommands, AnotherUsersWriteLeavesTheFileWhereAndWhoseItIs) {
    TestDesktop desk;
    // A writable file in a directory the user cannot write, and (when root
    // runs the test) root's writable file in a directory everyone writes.
    fs::create_directory(desk.Dir() / "fixed");
    fs::create_directory(desk.Dir() / "shared");
    desk.WriteFile("fixed/app.ini", "[s]\nk=1\n");
    desk.WriteFile("shared/app.ini", "[s]\nk=1\n");
    ASSERT_EQ(::chmod(desk.Dir().c_str(), 0755), 0);
    ASSERT_EQ(::chmod("fixed/app.ini", 0666), 0);
    ASSERT_EQ(::chmod("shared/app.ini", 0666), 0);
    ASSERT_EQ(::chmod("fixed", 0555), 0);
    ASSERT_EQ(::chmod("shared", 0777), 0);
    struct stat before {};
    ASSERT_EQ(::stat("shared/app.ini", &before), 0);
    EXPECT_TRUE(AsAnotherUser([&] {
        desk.Line(R"(WriteToIniFile("fixed/app.ini","[s]k","2"))");
        desk.Line(R"(WriteToIniFile("shared/app.ini","[s]k","2"))");
        return ::access("fixed", W_OK) != 0;
    }));
    EXPECT_EQ(desk.ReadFile("fixed/app.ini"), "[s]\nk=2\n");
    EXPECT_EQ(desk.ReadFile("shared/app.ini"), "[s]\nk=2\n");
    struct stat after {};
    ASSERT_EQ(::stat("shared/app.ini", &after), 0);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode & 07777, 0666U);
    ::chmod("fixed", 0755);
}

} // namespace
} // namespace ordwell
