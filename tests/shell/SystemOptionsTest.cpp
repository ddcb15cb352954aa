// The System Options, the About box's figures and the splash's time line,
// without a window.
#include <gtest/gtest.h>

#include "engine/Settings.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/SqliteRegistry.h"
#include "shell/AboutFigures.h"
#include "shell/SplashAnimation.h"
#include "shell/SystemOptions.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

SystemOptionsFields Fields(std::string keyDelay) {
    return SystemOptionsFields{std::move(keyDelay), "gedit", false, "events.log", "errors.log", "{PAUSE}"};
}

TEST(SystemOptions, DefaultsComeWhereNothingIsStoredAndAllAreWrittenBack) {
    SqliteRegistry registry(":memory:");
    Settings settings(registry);
    const SystemOptions defaults = ReadSystemOptions(settings);
    EXPECT_EQ(defaults, (SystemOptions{1, "xdg-open", true, "macsys.log", "macerr.log", "{PAUSE}"}));
    EXPECT_EQ(settings.GetString("System", "KeyDelay", "none"), "none") << "reading writes nothing";

    WriteSystemOptions(settings, SystemOptions{0, "emacsclient -c", false, "/tmp/ev.log", "/tmp/er.log", "none"});
    EXPECT_EQ(settings.GetInt("System", "KeyDelay", -1), 0);
    EXPECT_EQ(settings.GetString("System", "Editor", ""), "emacsclient -c");
    EXPECT_EQ(settings.GetInt("System", "PrintLineNumbers", -1), 0);
    EXPECT_EQ(settings.GetString("System", "EventLog", ""), "/tmp/ev.log");
    EXPECT_EQ(settings.GetString("System", "ErrorLog", ""), "/tmp/er.log");
    EXPECT_EQ(settings.GetString("System", "StopKey", ""), "none");
    // Any other number stored for the switch means on.
    settings.WriteInt("System", "PrintLineNumbers", 7);
    EXPECT_TRUE(ReadSystemOptions(settings).printLineNumbers);
}

TEST(SystemOptions, TheKeyDelayIsAWholeNumberFrom0To999) {
    for (const auto& [typed, value] : std::vector<std::pair<std::string, int>>{
             {"0", 0}, {"999", 999}, {"1", 1}, {" 25 ", 25}, {"+7", 7}, {"007", 7}, {"-0", 0}}) {
        const auto checked = CheckSystemOptions(Fields(typed));
        ASSERT_TRUE(std::holds_alternative<SystemOptions>(checked)) << typed;
        EXPECT_EQ(std::get<SystemOptions>(checked).keyDelay, value) << typed;
    }
    for (const std::string typed : {"1000", "-1", "99999999999", "", " ", "1.5", "12a", "a", "1 2", "0x10"}) {
        const auto checked = CheckSystemOptions(Fields(typed));
        ASSERT_TRUE(std::holds_alternative<OptionsProblem>(checked)) << typed;
        EXPECT_EQ(std::get<OptionsProblem>(checked).field, OptionsProblem::Field::KeyDelay) << typed;
    }
    EXPECT_EQ(std::get<OptionsProblem>(CheckSystemOptions(Fields("1000"))).message,
              "Please enter a whole number between 0 and 999.");
    EXPECT_EQ(std::get<OptionsProblem>(CheckSystemOptions(Fields("x"))).message, "Please enter a whole number.");
}

TEST(SystemOptions, NamesTakeAtMost254Characters) {
    const std::string longest(254, 'a');
    std::string accented;
    for (int i = 0; i < 254; ++i) {
        accented += "é";
    }
    SystemOptionsFields fields{"5", longest, true, accented, longest, "{PAUSE}"};
    const auto checked = CheckSystemOptions(fields);
    ASSERT_TRUE(std::holds_alternative<SystemOptions>(checked));
    EXPECT_EQ(std::get<SystemOptions>(checked), (SystemOptions{5, longest, true, accented, longest, "{PAUSE}"}));

    const std::pair<std::string SystemOptionsFields::*, OptionsProblem::Field> names[] = {
        {&SystemOptionsFields::editor, OptionsProblem::Field::Editor},
        {&SystemOptionsFields::eventLog, OptionsProblem::Field::EventLog},
        {&SystemOptionsFields::errorLog, OptionsProblem::Field::ErrorLog}};
    for (const auto& [member, field] : names) {
        SystemOptionsFields tooLong = fields;
        tooLong.*member += "é";
        const auto problem = CheckSystemOptions(tooLong);
        ASSERT_TRUE(std::holds_alternative<OptionsProblem>(problem));
        EXPECT_EQ(std::get<OptionsProblem>(problem).field, field);
        EXPECT_EQ(std::get<OptionsProblem>(problem).message, "Please enter no more than 254 characters.");
    }
}

TEST(SystemOptions, TheStopKeyIsOneKeyCombinationOrNoneKeptAsRunsReadIt) {
    for (const auto& [typed, kept] : std::vector<std::pair<std::string, std::string>>{{"{PAUSE}", "{PAUSE}"},
                                                                                      {" {pause} ", "{PAUSE}"},
                                                                                      {"%^{f12}", "^%{F12}"},
                                                                                      {"^Q", "^q"},
                                                                                      {"none", "none"},
                                                                                      {"NONE", "none"},
                                                                                      {"", "none"},
                                                                                      {"  ", "none"}}) {
        SystemOptionsFields fields = Fields("1");
        fields.stopKey = typed;
        const auto checked = CheckSystemOptions(fields);
        ASSERT_TRUE(std::holds_alternative<SystemOptions>(checked)) << typed;
        EXPECT_EQ(std::get<SystemOptions>(checked).stopKey, kept) << typed;
    }
    for (const std::string typed : {"Pause", "{F5}{F6}", "{delay 5}", "^", "{F99}"}) {
        SystemOptionsFields fields = Fields("1");
        fields.stopKey = typed;
        const auto checked = CheckSystemOptions(fields);
        ASSERT_TRUE(std::holds_alternative<OptionsProblem>(checked)) << typed;
        EXPECT_EQ(std::get<OptionsProblem>(checked).field, OptionsProblem::Field::StopKey) << typed;
    }
}

TEST(AboutFigures, MemoryAndFreeSpaceInKilobytes) {
    EXPECT_EQ(PhysicalMemoryText(MemoryStatus{.totalPhysical = 8ull << 30}), "8388608 KB");
    EXPECT_EQ(PhysicalMemoryText(std::nullopt), "Unavailable");
    EXPECT_EQ(FreeDiskText(DiskSpace{.free = 1048576, .size = 1ull << 30}, 'C'), "1024 KB Free on C:");
    EXPECT_EQ(FreeDiskText(std::nullopt, 'C'), "Unavailable");
    // More than 4 GiB free: a 32-bit product would have wrapped round to
    // 1024 KB here.
    EXPECT_EQ(FreeDiskText(DiskSpace{.free = (5ull << 30) + (1ull << 20)}, 'D'), "5243904 KB Free on D:");
    EXPECT_EQ(FreeDiskText(DiskSpace{.free = (4ull << 30) + (1ull << 20)}, 'C'), "4195328 KB Free on C:");
    EXPECT_EQ(FreeDiskText(DiskSpace{.free = 3ull << 40}, 'C'), "3221225472 KB Free on C:");
}

TEST(AboutFigures, TheCurrentDirectorysDriveIsTheDeepestLetterThatHoldsIt) {
    std::map<char, std::string> drives;
    const PosixPathMapping paths([&drives](char letter) { return drives.contains(letter) ? drives[letter] : ""; });
    EXPECT_EQ(DriveOfDirectory(paths, "/home/ann"), 'C');
    drives['H'] = "/home/";
    drives['D'] = "/home/ann/data";
    EXPECT_EQ(DriveOfDirectory(paths, "/home/ann"), 'H');
    EXPECT_EQ(DriveOfDirectory(paths, "/home"), 'H');
    EXPECT_EQ(DriveOfDirectory(paths, "/homestead"), 'C');
    EXPECT_EQ(DriveOfDirectory(paths, "/home/ann/data/2026"), 'D');
    drives['C'] = "/srv";
    EXPECT_EQ(DriveOfDirectory(paths, "/tmp"), std::nullopt);
}

TEST(AboutFigures, ReadLiveFromTheMachine) {
    test::TestDesktop desk;
    auto& system = desk.Sim().system;
    AboutFigures figures = ReadAboutFigures(desk.GetEngine().GetPlatform(), "/home/ann");
    EXPECT_EQ(figures.physicalMemory, "8388608 KB");
    EXPECT_EQ(figures.freeDisk, "10485760 KB Free on C:");
    system.SetDisk("/", DiskSpace{.free = 1048576, .size = 1ull << 30});
    system.SetMemory(std::nullopt);
    figures = ReadAboutFigures(desk.GetEngine().GetPlatform(), "/home/ann");
    EXPECT_EQ(figures.physicalMemory, "Unavailable");
    EXPECT_EQ(figures.freeDisk, "1024 KB Free on C:");
    system.SetDisk("/", std::nullopt);
    EXPECT_EQ(ReadAboutFigures(desk.GetEngine().GetPlatform(), "/home/ann").freeDisk, "Unavailable");
}

// The first tick shows the background, the blinds open one column a tick,
// the picture holds, and the splash goes at the tick after the hold.
TEST(SplashAnimation, BlindsOpenOverTwentyEightTicksThenThePictureHolds) {
    SplashAnimation animation;
    EXPECT_EQ(animation.OpenColumns(), 0);
    EXPECT_EQ(animation.Tick(), SplashAnimation::Step::Repaint);
    EXPECT_EQ(animation.OpenColumns(), 0) << "the background alone";
    int ticks = 1;
    std::vector<int> open;
    SplashAnimation::Step step;
    while ((step = animation.Tick()) == SplashAnimation::Step::Repaint) {
        ++ticks;
        open.push_back(animation.OpenColumns());
    }
    ++ticks;
    EXPECT_EQ(step, SplashAnimation::Step::Hold);
    EXPECT_EQ(ticks, 28);
    ASSERT_EQ(open.size(), 26u);
    for (int n = 0; n < 25; ++n) {
        EXPECT_EQ(open[static_cast<std::size_t>(n)], n + 1);
    }
    EXPECT_EQ(open.back(), 25);
    EXPECT_EQ(animation.OpenColumns(), 25);
    EXPECT_EQ(animation.Tick(), SplashAnimation::Step::Hide);
    EXPECT_EQ(SplashAnimation::kPictureWidth, 275);
}

} // namespace
} // namespace ordwell
