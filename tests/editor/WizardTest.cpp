#include <gtest/gtest.h>

#include <set>

#include "editor/WizardEntry.h"
#include "editor/WizardLine.h"
#include "engine/CommandCatalogue.h"

namespace ordwell {
namespace {

WizardFields Fields(std::string_view entry, std::string p1 = {}, std::string p2 = {}, std::string p3 = {}) {
    WizardFields fields;
    fields.entry = FindWizardEntry(entry);
    EXPECT_NE(fields.entry, nullptr) << entry;
    fields.params = {std::move(p1), std::move(p2), std::move(p3)};
    return fields;
}

std::string Build(std::string_view entry, std::string p1 = {}, std::string p2 = {}, std::string p3 = {}) {
    return BuildWizardLine(Fields(entry, std::move(p1), std::move(p2), std::move(p3)));
}

TEST(WizardTable, OffersEveryCommandButForOnceAndInTheCatalogueOrder) {
    std::vector<std::string_view> fromTable;
    std::set<std::string_view> names;
    for (const WizardEntry* entry : WizardEntries()) {
        EXPECT_TRUE(names.insert(entry->name).second) << entry->name;
        if (entry->kind == WizardLineKind::Command) {
            EXPECT_EQ(Command(entry->command).name, entry->name);
        }
    }
    EXPECT_TRUE(names.contains("Comment") && names.contains("Label"));
    std::vector<std::string_view> catalogue;
    for (const CommandInfo& info : Commands()) {
        if (info.id != CommandId::kFor) {
            catalogue.push_back(info.name);
            EXPECT_TRUE(names.contains(info.name)) << info.name << " has no wizard row";
        }
    }
    EXPECT_FALSE(names.contains("For"));
    EXPECT_EQ(catalogue.size() + 2, WizardEntries().size());
}

TEST(WizardTable, FieldsAgreeWithWhatTheCommandsTake) {
    for (const WizardEntry* entry : WizardEntries()) {
        if (entry->kind != WizardLineKind::Command) {
            continue;
        }
        const CommandInfo& info = Command(entry->command);
        for (int n = 1; n <= 3; ++n) {
            const WizardField& field = entry->fields[static_cast<size_t>(n - 1)];
            if (!field.Shown()) {
                continue;
            }
            // A field stands for an argument the catalogue describes, and an
            // optional field for one the command may go without.
            EXPECT_NE(info.Param(n).kind, ArgKind::None) << entry->name << " field " << n;
            if (field.optional) {
                EXPECT_TRUE(!info.count.checked || n > info.count.min) << entry->name << " field " << n;
            }
            EXPECT_NE(field.browse, Browse::ByArgument) << entry->name << " field " << n;
        }
        // A field after a hidden one never shows.
        EXPECT_FALSE(!entry->fields[0].Shown() && entry->fields[1].Shown()) << entry->name;
        EXPECT_FALSE(!entry->fields[1].Shown() && entry->fields[2].Shown()) << entry->name;
    }
}

TEST(WizardTable, BrowseButtonsFollowTheArgumentKindsUnlessARowSaysOtherwise) {
    const struct {
        const char* name;
        int field;
        Browse browse;
    } rows[] = {
        {"ActivateWindow", 1, Browse::Window},
        {"CopyFile", 2, Browse::AnyFile},
        {"SetDirectory", 1, Browse::Folder},
        {"If", 3, Browse::Wizard},
        {"Repeat", 2, Browse::None},
        {"PutVar", 1, Browse::None},
        {"RunProgram", 2, Browse::None},
        {"Comment", 1, Browse::None},
        {"Label", 1, Browse::None},
        // Said by the row:
        {"FindFile", 1, Browse::None},
        {"CreateDirectory", 1, Browse::FolderForNew},
        {"RunMacro", 1, Browse::MacroFile},
        {"GetFromIniFile", 1, Browse::IniFile},
        {"IfLessThan", 1, Browse::SystemValue},
        {"GetSystem", 2, Browse::SystemValueOrName},
    };
    for (const auto& row : rows) {
        const WizardEntry* entry = FindWizardEntry(row.name);
        ASSERT_NE(entry, nullptr) << row.name;
        EXPECT_EQ(entry->fields[static_cast<size_t>(row.field - 1)].browse, row.browse)
            << row.name << " field " << row.field;
    }
}

TEST(WizardTable, ListIsSortedAndPrefixesFindTheFirstMatch) {
    const auto entries = WizardEntries();
    EXPECT_EQ(entries.front()->name, "ActivateWindow");
    EXPECT_EQ(FindWizardEntryByPrefix("sendkeys")->name, "SendKeys");
    EXPECT_EQ(FindWizardEntryByPrefix("Goto")->name, "GoTo");
    EXPECT_EQ(FindWizardEntryByPrefix("Reboot")->name, "RebootSystem");
    EXPECT_EQ(FindWizardEntryByPrefix("LOG")->name, "LogError");
    EXPECT_EQ(FindWizardEntryByPrefix("Label")->name, "Label");
    EXPECT_EQ(FindWizardEntryByPrefix("Beep "), nullptr);
    EXPECT_EQ(FindWizardEntryByPrefix("For"), nullptr);
    EXPECT_EQ(FindWizardEntryByPrefix(""), nullptr);
}

TEST(WizardBuild, ExampleLines) {
    EXPECT_EQ(Build("RunProgram", "notepad.exe", "Maximized"), R"(RunProgram("notepad.exe",Maximized))");
    EXPECT_EQ(Build("RunProgram", "gedit", ""), R"(RunProgram("gedit"))");
    EXPECT_EQ(Build("Delay", "500"), "Delay(500)");
    EXPECT_EQ(Build("MessageBox", "Hello"), R"(MessageBox("Hello"))");
    EXPECT_EQ(Build("PutVar", "A", "7"), R"(PutVar(%A,"7"))");
    EXPECT_EQ(Build("PutVar", "%B", "%C"), "PutVar(%B,%C)");
    EXPECT_EQ(Build("If", "FileExist(\"x\")", "Beep()", ""), "If(FileExist(\"x\"),Beep())");
    EXPECT_EQ(Build("Comment", "note", "ignored"), "//note");
    EXPECT_EQ(Build("Label", "start"), ":start");
    EXPECT_EQ(Build("Label", ":start"), ":start");
    EXPECT_EQ(Build("SetCapsLock", "on"), "SetCapsLock(ON)");
    EXPECT_EQ(Build("SetCapsLock", "yes"), "SetCapsLock(OFF)");
    EXPECT_EQ(Build("FindFile", "a.txt", "PATH", ""), "FindFile(a.txt,PATH)");
    EXPECT_EQ(Build("FindFile", "a.txt", "PATH", "A"), "FindFile(a.txt,PATH,%A)");
    // A three-character value starting with % is quoted where its parameter
    // is; a two-character one never is.
    EXPECT_EQ(Build("MessageBox", "%AB"), R"(MessageBox("%AB"))");
    EXPECT_EQ(Build("MessageBox", "%A"), "MessageBox(%A)");
    EXPECT_EQ(Build("MaximizeWindow", ""), "MaximizeWindow()");
    // Quoted sets by command.
    EXPECT_EQ(Build("MouseClickScreen", "10", "20"), "MouseClickScreen(10,20)");
    EXPECT_EQ(Build("Repeat", "Beep()", "3"), "Repeat(Beep(),3)");
    EXPECT_EQ(Build("InputBox", "Name?", "N"), R"(InputBox("Name?",%N))");
    EXPECT_EQ(Build("DdeCommand", "App", "Topic", "[Go]"), "DdeCommand(App,Topic,[Go])");
    EXPECT_EQ(Build("LogSystem", "m.log", "DISK_C_FREE"), R"(LogSystem("m.log",DISK_C_FREE))");
    EXPECT_EQ(Build("CopyFile", "a", "b"), R"(CopyFile("a","b"))");
    EXPECT_EQ(Build("GetFromIniFile", "a.ini", "[S]k", "V"), R"(GetFromIniFile("a.ini","[S]k",%V))");
    EXPECT_EQ(Build("GetDateTime", "D", "%Y-%m"), R"(GetDateTime(%D,"%Y-%m"))");
    // A two-character value starting with % is a variable wherever it stands.
    EXPECT_EQ(Build("GetDateTime", "D", "%Y"), "GetDateTime(%D,%Y)");
    EXPECT_EQ(Build("Beep"), "Beep()");
    // Nothing is escaped or validated; an empty first field keeps its comma.
    EXPECT_EQ(Build("MessageBox", "say \"hi\""), R"(MessageBox("say "hi""))");
    EXPECT_EQ(Build("LogToFile", "", "text"), R"(LogToFile(,"text"))");
}

TEST(WizardBuild, OkWaitsForEveryRequiredField) {
    EXPECT_FALSE(WizardCanConfirm(Fields("MessageBox")));
    EXPECT_TRUE(WizardCanConfirm(Fields("MessageBox", "x")));
    EXPECT_TRUE(WizardCanConfirm(Fields("Beep")));
    EXPECT_TRUE(WizardCanConfirm(Fields("MaximizeWindow")));
    EXPECT_TRUE(WizardCanConfirm(Fields("If", "a", "b")));
    EXPECT_FALSE(WizardCanConfirm(Fields("If", "a")));
    EXPECT_TRUE(WizardCanConfirm(Fields("RunProgram", "gedit", "")));
    // InputBox asks for its variable, although its label calls it optional.
    EXPECT_FALSE(WizardCanConfirm(Fields("InputBox", "Name?")));
    EXPECT_TRUE(WizardCanConfirm(Fields("FindFile", "a", "PATH")));
    // With no command chosen there is nothing to build.
    EXPECT_FALSE(WizardCanConfirm(WizardFields{}));
}

TEST(WizardParse, LinesComeBackAsFields) {
    struct Row {
        std::string line;
        std::string_view entry;
        std::array<std::string, 3> params;
    };
    const Row rows[] = {
        {R"(SendKeys("Hello~"))", "SendKeys", {"Hello~", "", ""}},
        {R"(sendkeys(%A))", "SendKeys", {"%A", "", ""}},
        {"//note", "Comment", {"note", "", ""}},
        {"  * old", "Comment", {"* old", "", ""}},
        {":Start", "Label", {"Start", "", ""}},
        {R"(If(FileExist("c:\t.log"),Beep(),DoNothing()))",
         "If",
         {R"(FileExist("c:\t.log"))", "Beep()", "DoNothing()"}},
        {"DoNothing(1,2,3,4)", "DoNothing", {"1", "2", "3"}},
        {R"(RunProgram("gedit",max))", "RunProgram", {"gedit", "Maximized", ""}},
        {R"(RunProgram("gedit"))", "RunProgram", {"gedit", "Normal", ""}},
        {R"(Print("a.txt",Sideways))", "Print", {"a.txt", "", ""}},
        {"Reboot", "RebootSystem", {"", "", ""}},
        {"Beep", "Beep", {"", "", ""}},
    };
    for (const Row& row : rows) {
        const WizardFields fields = ParseWizardLine(row.line);
        ASSERT_NE(fields.entry, nullptr) << row.line;
        EXPECT_EQ(fields.entry->name, row.entry) << row.line;
        EXPECT_EQ(fields.params, row.params) << row.line;
    }
    // An empty line opens on the first command; an unknown one on none.
    EXPECT_EQ(ParseWizardLine("").entry->name, "ActivateWindow");
    EXPECT_EQ(ParseWizardLine("Frobnicate(1)").entry, nullptr);
    EXPECT_EQ(ParseWizardLine("Beep ()").entry, nullptr);
    // A fresh RunProgram starts at Normal.
    EXPECT_EQ(EmptyWizardFields(FindWizardEntry("RunProgram")).params[1], "Normal");
}

TEST(WizardParse, EditingALineAndPressingOkKeepsItsMeaning) {
    // What the wizard builds from a line it parsed runs the same.
    const std::string lines[] = {
        R"(MessageBox("Hello, world"))",
        "Delay(500)",
        R"(PutVar(%A,"7"))",
        R"(If(FileExist("x"),Beep(),DoNothing()))",
        R"(RunProgram("notepad.exe",Maximized))",
        "FindFile(a.txt,PATH,%A)",
        "//note",
        ":start",
        "SetCapsLock(ON)",
        R"(!FileExist("x"))",
        R"(SendKeysToWindow("Untitled - Text Editor","^s"))",
    };
    for (const std::string& line : lines) {
        EXPECT_EQ(BuildWizardLine(ParseWizardLine(line)), line);
    }
    // Unquoted arguments come back quoted where the wizard quotes them.
    EXPECT_EQ(BuildWizardLine(ParseWizardLine("MessageBox(Hello)")), R"(MessageBox("Hello"))");
    EXPECT_EQ(BuildWizardLine(ParseWizardLine("getdate(D)")), "GetDate(%D)");
}

// Edit Line with OK and no change in the fields keeps the line as it was,
// byte for byte; a change rebuilds the command and keeps a comment after it.
TEST(WizardLine, EditLineKeepsWhatTheWizardDoesNotShow) {
    const std::vector<std::string> unchanged = {
        R"(ActivateWindow("T")//note)",
        "MessageBox(Hello)",
        "  Delay( 500 )",
        "getdate(D)  // today",
        "//note",
        ":start",
        "Beep()",
    };
    for (const std::string& line : unchanged) {
        EXPECT_EQ(EditedWizardLine(line, BuildWizardLine(ParseWizardLine(line))), line);
    }
    EXPECT_EQ(EditedWizardLine(R"(ActivateWindow("T")//note)", R"(ActivateWindow("U"))"),
              R"(ActivateWindow("U")//note)");
    EXPECT_EQ(EditedWizardLine(R"(ActivateWindow("T") // note)", R"(CloseWindow("T"))"), R"(CloseWindow("T") // note)");
    // A line that becomes a comment or a label takes nothing along.
    EXPECT_EQ(EditedWizardLine("Beep()//x", "//Beep()"), "//Beep()");
    EXPECT_EQ(EditedWizardLine("Beep()", "Delay(1)"), "Delay(1)");
}

} // namespace
} // namespace ordwell
