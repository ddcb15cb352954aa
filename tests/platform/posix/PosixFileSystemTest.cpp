#include "platform/posix/PosixFileSystem.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/posix/TemporaryFile.h"
#include "support/ForkedChild.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

namespace fs = std::filesystem;
using test::ForkedChild;
using test::TestDesktop;

std::vector<std::string> Entries(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

size_t TemporariesIn(const fs::path& directory) {
    const auto names = Entries(directory);
    return static_cast<size_t>(std::count_if(names.begin(), names.end(), IsTemporaryName));
}

// An edit that appends a marker, and counts its calls.
struct Marker {
    int calls = 0;
    FileSystem::Edit edit = [this](const std::string& content) -> std::optional<std::string> {
        ++calls;
        return content + "+";
    };
};

// Holds an exclusive flock on a file through a descriptor of its own, as
// another process would; children forked meanwhile share the descriptor, so
// letting go is an explicit unlock.
class LockHolder final {
public:
    explicit LockHolder(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        m_locked = m_fd >= 0 && ::flock(m_fd, LOCK_EX) == 0;
    }
    ~LockHolder() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Locked() const { return m_locked; }
    void LetGo() { ::flock(m_fd, LOCK_UN); }

private:
    int m_fd;
    bool m_locked = false;
};

// A stop descriptor as the signal handler keeps it: readable once written.
class StopPipe final {
public:
    StopPipe() { m_ok = ::pipe2(m_fds, O_CLOEXEC) == 0; }
    ~StopPipe() {
        ::close(m_fds[0]);
        ::close(m_fds[1]);
    }
    StopPipe(const StopPipe&) = delete;
    StopPipe& operator=(const StopPipe&) = delete;

    bool Ok() const { return m_ok; }
    int ReadEnd() const { return m_fds[0]; }
    bool Raise() { return ::write(m_fds[1], "s", 1) == 1; }

private:
    int m_fds[2] = {-1, -1};
    bool m_ok = false;
};

TEST(PosixFileSystem, AReadOnlyFileIsNeitherWrittenNorDeletedWhoeverAsks) {
    TestDesktop desk;
    PosixFileSystem files;
    desk.WriteFile("ro.txt", "kept");
    ASSERT_EQ(::chmod("ro.txt", 0444), 0);
    Marker marker;
    EXPECT_FALSE(files.Append("ro.txt", "more"));
    EXPECT_FALSE(files.Update("ro.txt", 100, marker.edit));
    EXPECT_FALSE(files.WriteAtomically("ro.txt", "new"));
    EXPECT_FALSE(files.RemoveFile("ro.txt"));
    EXPECT_FALSE(files.CanOpenForWriting("ro.txt"));
    EXPECT_EQ(marker.calls, 0);
    EXPECT_EQ(desk.ReadFile("ro.txt"), "kept");
}

TEST(PosixFileSystem, AWaitForAnotherHoldersLockIsBounded) {
    TestDesktop desk;
    desk.WriteFile("held.log", "log\n");
    desk.WriteFile("held.ini", "ini\n");
    LockHolder log("held.log");
    LockHolder ini("held.ini");
    ASSERT_TRUE(log.Locked() && ini.Locked());
    ForkedChild child;
    child.Start([] {
        PosixFileSystem files(-1, std::chrono::milliseconds(50));
        Marker marker;
        const bool appended = files.Append("held.log", "more\n");
        const bool updated = files.Update("held.ini", 100, marker.edit);
        return (appended ? 1 : 0) + (updated ? 2 : 0) + (marker.calls != 0 ? 4 : 0);
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(desk.ReadFile("held.log"), "log\n");
    EXPECT_EQ(desk.ReadFile("held.ini"), "ini\n");
}

TEST(PosixFileSystem, AWaitingWriterGoesOnOnceTheHolderLetsGo) {
    TestDesktop desk;
    desk.WriteFile("held.log", "log\n");
    desk.WriteFile("held.ini", "ini");
    LockHolder log("held.log");
    LockHolder ini("held.ini");
    ASSERT_TRUE(log.Locked() && ini.Locked());
    ForkedChild child;
    child.Start([&] {
        PosixFileSystem files(-1, std::chrono::minutes(1));
        Marker marker;
        child.Report();
        const bool appended = files.Append("held.log", "more\n");
        const bool updated = files.Update("held.ini", 100, marker.edit);
        return (appended ? 0 : 1) + (updated ? 0 : 2);
    });
    ASSERT_TRUE(child.AwaitReport());
    log.LetGo();
    ini.LetGo();
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(desk.ReadFile("held.log"), "log\nmore\n");
    EXPECT_EQ(desk.ReadFile("held.ini"), "ini+");
}

TEST(PosixFileSystem, AStopRequestEndsAWaitForALockAtOnce) {
    TestDesktop desk;
    desk.WriteFile("held.log", "log\n");
    desk.WriteFile("held.ini", "ini");
    LockHolder log("held.log");
    LockHolder ini("held.ini");
    ASSERT_TRUE(log.Locked() && ini.Locked());
    const std::function<bool(FileSystem&)> writes[] = {
        [](FileSystem& files) { return files.Append("held.log", "more\n"); },
        [](FileSystem& files) {
            return files.Update("held.ini", 100, [](const std::string& content) { return content + "+"; });
        },
    };
    for (const auto& write : writes) {
        StopPipe stop;
        ASSERT_TRUE(stop.Ok());
        // Each write would wait a minute for its lock: only the stop can end
        // it well before.
        ForkedChild child;
        child.Start([&] {
            PosixFileSystem files(stop.ReadEnd(), std::chrono::minutes(1));
            child.Report();
            return write(files) ? 1 : 0;
        });
        ASSERT_TRUE(child.AwaitReport());
        ASSERT_TRUE(stop.Raise());
        EXPECT_EQ(child.Wait(std::chrono::seconds(20)), 0);
    }
    EXPECT_EQ(desk.ReadFile("held.log"), "log\n");
    EXPECT_EQ(desk.ReadFile("held.ini"), "ini");
}

TEST(PosixFileSystem, AReplacementReachesReadersWholeAndLeavesNoTemporaryFile) {
    TestDesktop desk;
    PosixFileSystem files;
    desk.WriteFile("app.ini", "old");
    // A reader that opened the file before the write reads the old content
    // to its end; the name gives the new content.
    const int reader = ::open("app.ini", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(files.Update("app.ini", 100, [](const std::string&) { return std::string("new content"); }));
    char buffer[32] = {};
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(::read(reader, buffer, sizeof buffer))), "old");
    ::close(reader);
    EXPECT_EQ(desk.ReadFile("app.ini"), "new content");
    EXPECT_TRUE(files.WriteAtomically("app.ini", "atomic"));
    EXPECT_EQ(desk.ReadFile("app.ini"), "atomic");
    EXPECT_EQ(Entries(desk.Dir()), std::vector<std::string>{"app.ini"});
}

TEST(PosixFileSystem, AnUpdateReadsNoMoreThanItsLimit) {
    TestDesktop desk;
    PosixFileSystem files;
    desk.WriteFile("big.ini", std::string(101, 'b'));
    Marker marker;
    EXPECT_FALSE(files.Update("big.ini", 100, marker.edit));
    EXPECT_EQ(marker.calls, 0);
    EXPECT_EQ(desk.ReadFile("big.ini"), std::string(101, 'b'));
    EXPECT_TRUE(files.Update("big.ini", 101, marker.edit));
}

TEST(PosixFileSystem, WriteAtomicallyRefusesWhatAReplacementWouldChange) {
    TestDesktop desk;
    PosixFileSystem files;
    desk.WriteFile("linked.ini", "old");
    fs::create_hard_link(desk.Dir() / "linked.ini", desk.Dir() / "second.ini");
    EXPECT_FALSE(files.WriteAtomically("linked.ini", "new"));
    EXPECT_EQ(desk.ReadFile("second.ini"), "old");
    // Written through a link to its missing target.
    fs::create_symlink("target.ini", desk.Dir() / "link.ini");
    EXPECT_TRUE(files.WriteAtomically("link.ini", "made"));
    EXPECT_TRUE(fs::is_symlink(desk.Dir() / "link.ini"));
    EXPECT_EQ(desk.ReadFile("target.ini"), "made");
}

TEST(PosixFileSystem, TheTemporaryFileOfAKilledWriterGoesWithTheNextWriteThere) {
    TestDesktop desk;
    PosixFileSystem files;
    desk.WriteFile("source.txt", "source");
    desk.WriteFile("app.ini", "ini");
    // Files whose names only look like ours stay.
    desk.WriteFile("app.ini.Ab12Cd", "user's");
    desk.WriteFile(".ordwell-Ab12Cd.tmp.bak", "user's");
    const auto beforeWrites = Entries(desk.Dir());
    const std::function<bool()> writes[] = {
        [&] { return files.CopyWithoutOverwrite("source.txt", "copy.txt") && files.RemoveFile("copy.txt"); },
        [&] { return files.Update("app.ini", 100, [](const std::string&) { return std::string("new"); }); },
    };
    for (const auto& write : writes) {
        // One writer dies while writing its temporary file, another is still
        // writing its own.
        ForkedChild killed;
        ForkedChild alive;
        for (ForkedChild* child : {&killed, &alive}) {
            child->Start([child] {
                TemporaryFile temp("", 0600);
                child->Report();
                while (true) {
                    ::pause();
                }
                return 0;
            });
            ASSERT_TRUE(child->AwaitReport());
        }
        killed.Kill();
        ASSERT_EQ(TemporariesIn(desk.Dir()), 2U);
        EXPECT_TRUE(write());
        EXPECT_EQ(TemporariesIn(desk.Dir()), 1U);
        alive.Kill();
        EXPECT_TRUE(write());
        EXPECT_EQ(Entries(desk.Dir()), beforeWrites);
    }
}

TEST(PosixFileSystem, AStopRequestEndsALongCopyAndLeavesNothing) {
    TestDesktop desk;
    StopPipe stop;
    ASSERT_TRUE(stop.Ok() && stop.Raise());
    PosixFileSystem files(stop.ReadEnd());
    const int source = ::open("large.dat", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(source, 0);
    ASSERT_EQ(::ftruncate(source, off_t{64} << 20), 0);
    ::close(source);
    desk.WriteFile("small.txt", "small");
    // The first piece is copied before the copy looks for a stop.
    EXPECT_TRUE(files.CopyWithoutOverwrite("small.txt", "small-copy.txt"));
    EXPECT_FALSE(files.CopyWithoutOverwrite("large.dat", "large-copy.dat"));
    EXPECT_EQ(Entries(desk.Dir()), (std::vector<std::string>{"large.dat", "small-copy.txt", "small.txt"}));
}

} // namespace
} // namespace ordwell
