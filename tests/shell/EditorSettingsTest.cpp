// The settings of the editor's main window: its placement, the recent files,
// and the smallest size it may be made.
#include <gtest/gtest.h>

#include "engine/Settings.h"
#include "platform/posix/SqliteRegistry.h"
#include "shell/FrameSize.h"
#include "shell/RecentFiles.h"
#include "shell/WindowPlacement.h"

namespace ordwell {
namespace {

TEST(WindowPlacement, TenFieldsWrittenAndReadBack) {
    const WindowPlacement normal = PlacementOf({100, 50, 740, 530}, false);
    EXPECT_EQ(FormatWindowPlacement(normal), "0,1,-1,-1,-1,-1,100,50,740,530");
    const WindowPlacement maximized = PlacementOf({100, 50, 740, 530}, true);
    EXPECT_EQ(FormatWindowPlacement(maximized), "2,3,-1,-1,-1,-1,100,50,740,530");
    const auto read = ParseWindowPlacement("2,3,-1,-1,-1,-1,100,50,740,530");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->flags, 2u);
    EXPECT_EQ(read->normal, (ScreenRect{100, 50, 740, 530}));
    EXPECT_TRUE(ParseWindowPlacement(" 0, 1,-1,-1,-1,-1,-8,-8,+1040,776 and more"));
    // Nine fields, a missing number, or no text at all: no saved placement.
    EXPECT_FALSE(ParseWindowPlacement("0,1,-1,-1,-1,-1,100,50,740"));
    EXPECT_FALSE(ParseWindowPlacement("0,1,-1,-1,,-1,100,50,740,530"));
    EXPECT_FALSE(ParseWindowPlacement("0;1;-1;-1;-1;-1;100;50;740;530"));
    EXPECT_FALSE(ParseWindowPlacement(""));
}

TEST(WindowPlacement, AWindowSavedOnAScreenThatHasGoneOpensOnTheScreen) {
    const ScreenRect primary{0, 0, 1280, 1024};
    const ScreenRect right{1280, 0, 3200, 1080};
    const ScreenRect both[] = {primary, right};
    const ScreenRect one[] = {primary};
    const ScreenRect onRight{1500, 100, 2140, 580};
    // On a screen that is there it stays where it was, also across screens
    // and partly outside, as long as its top edge shows.
    EXPECT_EQ(KeepOnScreen(onRight, both), onRight);
    EXPECT_EQ(KeepOnScreen({1000, 100, 1640, 580}, one), (ScreenRect{1000, 100, 1640, 580}));
    EXPECT_EQ(KeepOnScreen({-300, 100, 340, 580}, one), (ScreenRect{-300, 100, 340, 580}));
    // Its screen has gone: centred on the primary screen, same size.
    EXPECT_EQ(KeepOnScreen(onRight, one), (ScreenRect{320, 272, 960, 752}));
    // Title bar above the screen, or only a sliver showing: moved too.
    EXPECT_EQ(KeepOnScreen({100, -200, 740, 280}, one), (ScreenRect{320, 272, 960, 752}));
    EXPECT_EQ(KeepOnScreen({1250, 100, 1890, 580}, one), (ScreenRect{320, 272, 960, 752}));
    // Larger than the screen: made to fit.
    EXPECT_EQ(KeepOnScreen({5000, 0, 9000, 3000}, one), primary);
    // No screen known: as saved.
    EXPECT_EQ(KeepOnScreen(onRight, {}), onRight);
}

TEST(FrameSize, ToolbarsShownMakeTheFrameLarger) {
    EXPECT_EQ(MinimumFrameSize(0, 26), (FrameSize{470, 360}));
    EXPECT_EQ(MinimumFrameSize(2, 26), (FrameSize{470, 412}));
    EXPECT_EQ(MinimumFrameSize(3, 26), (FrameSize{450, 438}));
    EXPECT_EQ(MinimumFrameSize(6, 0), (FrameSize{450, 360}));
}

TEST(RecentFiles, FourNewestFirstKeptInTheSettings) {
    SqliteRegistry registry(":memory:");
    Settings settings(registry);
    {
        RecentFiles recent(settings);
        EXPECT_TRUE(recent.Files().empty());
        for (const char* path : {"/a.ow", "/b.ow", "/c.ow", "/d.ow", "/e.ow", "/c.ow"}) {
            recent.Add(path);
        }
        EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/c.ow", "/e.ow", "/d.ow", "/b.ow"}));
    }
    EXPECT_EQ(settings.GetString("Recent File List", "File1", ""), "/c.ow");
    RecentFiles again(settings);
    EXPECT_EQ(again.Files(), (std::vector<std::string>{"/c.ow", "/e.ow", "/d.ow", "/b.ow"}));
    again.Remove("/e.ow");
    EXPECT_EQ(RecentFiles(settings).Files(), (std::vector<std::string>{"/c.ow", "/d.ow", "/b.ow"}));
}

} // namespace
} // namespace ordwell
