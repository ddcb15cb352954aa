#include <gtest/gtest.h>

#include "platform/posix/PosixSystemInfo.h"

namespace ordwell {
namespace {

TEST(PosixSystemInfo, ReadsThisMachine) {
    PosixSystemInfo system;
    const auto memory = system.Memory();
    ASSERT_TRUE(memory.has_value());
    EXPECT_GT(memory->totalPhysical, 0U);
    EXPECT_LE(memory->availPhysical, memory->totalPhysical);
    EXPECT_LE(memory->loadPercent, 100U);
    EXPECT_GT(memory->totalVirtual, 0U);
    EXPECT_LT(memory->availVirtual, memory->totalVirtual);
    EXPECT_FALSE(system.HostName().empty());
    EXPECT_FALSE(system.UserName().empty());

    const auto root = system.Disk("/");
    ASSERT_TRUE(root.has_value());
    EXPECT_GT(root->size, 0U);
    EXPECT_LE(root->free, root->size);
    EXPECT_FALSE(system.Disk("/no/such/directory").has_value());
}

TEST(PosixSystemInfo, ParsesMemInfo) {
    // 64 GiB of RAM: more than 32 bits hold. No MemAvailable (old kernels):
    // free memory and the caches stand in.
    const auto memory = PosixSystemInfo::ParseMemInfo("MemTotal:       67108864 kB\n"
                                                      "MemFree:        16777216 kB\n"
                                                      "Buffers:         1048576 kB\n"
                                                      "Cached:         15728640 kB\n"
                                                      "SwapCached:            0 kB\n"
                                                      "SwapTotal:       2097152 kB\n"
                                                      "SwapFree:        1048576 kB\n");
    ASSERT_TRUE(memory.has_value());
    EXPECT_EQ(memory->totalPhysical, std::uint64_t{64} << 30);
    EXPECT_EQ(memory->availPhysical, std::uint64_t{32} << 30);
    EXPECT_EQ(memory->loadPercent, 50U);
    EXPECT_EQ(memory->totalPageFile, std::uint64_t{2} << 30);
    EXPECT_EQ(memory->availPageFile, std::uint64_t{1} << 30);

    const auto withAvailable = PosixSystemInfo::ParseMemInfo("MemTotal: 1000 kB\nMemFree: 10 kB\nMemAvailable: 250 kB");
    ASSERT_TRUE(withAvailable.has_value());
    EXPECT_EQ(withAvailable->availPhysical, 250U * 1024U);
    EXPECT_EQ(withAvailable->loadPercent, 75U);

    EXPECT_FALSE(PosixSystemInfo::ParseMemInfo("").has_value());
    EXPECT_FALSE(PosixSystemInfo::ParseMemInfo("MemTotalX: 5 kB\n").has_value());
}

} // namespace
} // namespace ordwell
