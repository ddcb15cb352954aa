#include <gtest/gtest.h>

#include <map>

#include "platform/posix/PosixPathMapping.h"

namespace ordwell {
namespace {

TEST(PosixPathMapping, MapsSeparatorsAndDriveLetters) {
    std::map<char, std::string> drives;
    const PosixPathMapping paths([&drives](char letter) { return drives[letter]; });
    EXPECT_EQ(paths.NativePath("c:\\test.log"), "/test.log");
    EXPECT_EQ(paths.NativePath("C:/tmp/x"), "/tmp/x");
    EXPECT_EQ(paths.NativePath("c:x"), "/x");
    EXPECT_EQ(paths.NativePath("logs\\a.log"), "logs/a.log");
    EXPECT_EQ(paths.NativePath("/already/native"), "/already/native");
    // A letter that stands for nothing is kept, and names nothing here.
    EXPECT_EQ(paths.NativePath("d:\\data"), "d:/data");
    EXPECT_FALSE(paths.DriveDirectory('d'));
    EXPECT_FALSE(paths.DriveDirectory('1'));

    drives['D'] = "/srv/data/";
    EXPECT_EQ(paths.NativePath("d:\\reports\\q1.txt"), "/srv/data/reports/q1.txt");
    EXPECT_EQ(paths.NativePath("D:"), "/srv/data/");
    EXPECT_EQ(paths.NativePath("d:x"), "/srv/data/x");
    EXPECT_EQ(paths.DriveDirectory('d'), "/srv/data");
    EXPECT_EQ(paths.NativePath("c:"), "/");
    EXPECT_EQ(paths.DriveDirectory('C'), "/");
    drives['C'] = "/home/ann/c";
    EXPECT_EQ(paths.NativePath("C:\\autoexec.bat"), "/home/ann/c/autoexec.bat");
}

} // namespace
} // namespace ordwell
