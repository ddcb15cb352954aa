#include <filesystem>
#include <gtest/gtest.h>

#include "actions/IniCommands.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

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

} // namespace
} // namespace ordwell
