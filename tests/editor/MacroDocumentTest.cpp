#include <gtest/gtest.h>

#include <filesystem>

#include "editor/MacroDocument.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using Lines = std::vector<std::string>;

TEST(DocumentText, EveryLineEndEndsALineAndNothingElseIsLost) {
    EXPECT_EQ(SplitDocumentText(""), Lines{});
    EXPECT_EQ(SplitDocumentText("A\r\nB\r\n"), (Lines{"A", "B"}));
    EXPECT_EQ(SplitDocumentText("A\nB\n"), (Lines{"A", "B"}));
    // A CR alone ends a line, and the character after it is the next line's.
    EXPECT_EQ(SplitDocumentText("A\rB\r"), (Lines{"A", "B"}));
    EXPECT_EQ(SplitDocumentText("A\r\rB"), (Lines{"A", "", "B"}));
    // The last line needs no line end; one line end at the end adds nothing.
    EXPECT_EQ(SplitDocumentText("A\r\nB"), (Lines{"A", "B"}));
    EXPECT_EQ(SplitDocumentText("\r\n"), (Lines{""}));
    EXPECT_EQ(SplitDocumentText("A\n\n"), (Lines{"A", ""}));
    // Nothing is trimmed, and bytes that are no UTF-8 stay as they are.
    EXPECT_EQ(SplitDocumentText("  x \t\n\xE9t\xE9\n"), (Lines{"  x \t", "\xE9t\xE9"}));
    EXPECT_EQ(JoinDocumentText({"A", "", "B"}), "A\r\n\r\nB\r\n");
    EXPECT_EQ(JoinDocumentText({}), "");
}

class MacroDocumentTest : public testing::Test {
protected:
    test::TestDesktop m_desk;
    PosixFileSystem m_files;
    MacroDocument m_document{m_files};

    std::string PathOf(const std::string& name) const { return (m_desk.Dir() / name).string(); }
    // Sets the file's modification time some seconds away from now, as
    // another program writing it later would.
    void Touch(const std::string& name, int seconds) const {
        const auto path = m_desk.Dir() / name;
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(seconds));
    }
};

TEST_F(MacroDocumentTest, LongAndOddLinesGoBackByteForByte) {
    const std::string longLine = "SendKeys(\"" + std::string(3000, 'x') + "\")";
    const std::string original = "Beep()\n" + longLine + "\r\n\r\n  // caf\xC3\xA9\rLast";
    m_desk.WriteFile("m.ow", original);
    ASSERT_EQ(m_document.Open(PathOf("m.ow")), DocumentOpen::Opened);
    EXPECT_EQ(m_document.Lines(), (Lines{"Beep()", longLine, "", "  // caf\xC3\xA9", "Last"}));
    EXPECT_FALSE(m_document.IsModified());
    ASSERT_TRUE(m_document.Save(PathOf("copy.ow")));
    EXPECT_EQ(m_desk.ReadFile("copy.ow"), "Beep()\r\n" + longLine + "\r\n\r\n  // caf\xC3\xA9\r\nLast\r\n");
    // Saved once with CR LF, the file comes back the same byte for byte.
    ASSERT_EQ(m_document.Open(PathOf("copy.ow")), DocumentOpen::Opened);
    ASSERT_TRUE(m_document.Save(PathOf("copy.ow")));
    EXPECT_EQ(m_desk.ReadFile("copy.ow"), "Beep()\r\n" + longLine + "\r\n\r\n  // caf\xC3\xA9\r\nLast\r\n");
    EXPECT_EQ(m_document.Title(), "copy.ow");
}

TEST_F(MacroDocumentTest, OpeningWhatIsNoMacroFileChangesNothing) {
    m_document.Lines() = {"Beep()"};
    m_document.SetModified(true);
    EXPECT_EQ(m_document.Open(PathOf("missing.ow")), DocumentOpen::Missing);
    std::filesystem::create_directory(m_desk.Dir() / "folder.ow");
    EXPECT_EQ(m_document.Open(PathOf("folder.ow")), DocumentOpen::Unreadable);
    EXPECT_EQ(m_document.Lines(), Lines{"Beep()"});
    EXPECT_TRUE(m_document.IsModified());
    EXPECT_EQ(m_document.Title(), "Untitled");
    // A file that cannot be written leaves the document modified.
    EXPECT_FALSE(m_document.Save(PathOf("folder.ow")));
    EXPECT_TRUE(m_document.IsModified());
    EXPECT_EQ(m_document.Path(), "");
}

TEST_F(MacroDocumentTest, PathStaysRightWhenARunChangesTheCurrentDirectory) {
    m_desk.WriteFile("m.ow", "Beep()\r\n");
    ASSERT_EQ(m_document.Open("m.ow"), DocumentOpen::Opened);
    EXPECT_EQ(m_document.Path(), PathOf("m.ow"));
    std::filesystem::create_directory(m_desk.Dir() / "elsewhere");
    std::filesystem::current_path(m_desk.Dir() / "elsewhere");
    m_document.Lines().push_back("Delay(1)");
    ASSERT_TRUE(m_document.Save(m_document.Path()));
    EXPECT_EQ(m_desk.ReadFile("m.ow"), "Beep()\r\nDelay(1)\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_desk.Dir() / "elsewhere" / "m.ow"));
}

TEST_F(MacroDocumentTest, ChangedOnDiskOnlyWhenAnotherProgramChangedTheFile) {
    // A new document never counts as changed.
    m_document.New();
    EXPECT_FALSE(m_document.ChangedOnDisk());

    m_desk.WriteFile("m.ow", "Beep()\r\n");
    ASSERT_EQ(m_document.Open(PathOf("m.ow")), DocumentOpen::Opened);
    EXPECT_FALSE(m_document.ChangedOnDisk());
    // Another program writes it: changed, and still changed until the record
    // is refreshed (as the reload prompt does before it asks).
    Touch("m.ow", 5);
    EXPECT_TRUE(m_document.ChangedOnDisk());
    EXPECT_TRUE(m_document.ChangedOnDisk());
    m_document.RefreshFileStatus();
    EXPECT_FALSE(m_document.ChangedOnDisk());
    // A change within the same second that alters the size is seen too.
    const auto time = std::filesystem::last_write_time(m_desk.Dir() / "m.ow");
    m_desk.WriteFile("m.ow", "Beep()\r\nBeep()\r\n");
    std::filesystem::last_write_time(m_desk.Dir() / "m.ow", time);
    EXPECT_TRUE(m_document.ChangedOnDisk());
    m_document.RefreshFileStatus();
    // The editor's own save is no change.
    ASSERT_TRUE(m_document.Save(m_document.Path()));
    EXPECT_FALSE(m_document.ChangedOnDisk());
    // A file that has gone is no change either.
    std::filesystem::remove(m_desk.Dir() / "m.ow");
    EXPECT_FALSE(m_document.ChangedOnDisk());
}

TEST_F(MacroDocumentTest, AFileNamedButNotThereIsWrittenOnSave) {
    m_document.SetPath(PathOf("new.ow"));
    EXPECT_FALSE(m_document.ChangedOnDisk());
    m_document.Lines() = {"MessageBox(\"Hello\")", "Delay(500)"};
    ASSERT_TRUE(m_document.Save(m_document.Path()));
    EXPECT_EQ(m_desk.ReadFile("new.ow"), "MessageBox(\"Hello\")\r\nDelay(500)\r\n");
    // A file that appears later, made by another program, counts as a change.
    MacroDocument other(m_files);
    other.SetPath(PathOf("later.ow"));
    m_desk.WriteFile("later.ow", "Beep()");
    EXPECT_TRUE(other.ChangedOnDisk());
}

} // namespace
} // namespace ordwell
