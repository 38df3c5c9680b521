#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "common/small_file.h"
#include "support/test_support.h"

namespace {

TEST(SmallFile, ReadsWholeFileUnlessMissingOrLocked) {
    test::TempDir dir;
    std::string path = dir.Join("card.vcf");
    std::string bytes("BEGIN:VCARD\r\n\0tail", 18);
    test::WriteBytes(path, bytes);
    {
        SSmallFile file(path.c_str());
        ASSERT_NE(file.Contents(), nullptr);
        EXPECT_EQ(file.Size(), bytes.size());
        EXPECT_EQ(std::string(file.Contents(), file.Size()), bytes);
        EXPECT_EQ(file.Contents()[file.Size()], '\0');
    }
    {
        // Held open by another handle: no sharing, no contents.
        platform::File holder = platform::File::OpenRead(path.c_str(), /*exclusive=*/false);
        ASSERT_TRUE(holder.IsOpen());
        SSmallFile file(path.c_str());
        EXPECT_EQ(file.Contents(), nullptr);
        EXPECT_EQ(file.Size(), 0u);
    }
    // Released again, it reads.
    EXPECT_NE(SSmallFile(path.c_str()).Contents(), nullptr);

    SSmallFile missing(dir.Join("none.vcf").c_str());
    EXPECT_EQ(missing.Contents(), nullptr);

    test::WriteBytes(dir.Join("empty"), "");
    SSmallFile empty(dir.Join("empty").c_str());
    ASSERT_NE(empty.Contents(), nullptr);
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_STREQ(empty.Contents(), "");
}

TEST(PlatformFile, ExclusiveOpenRefusesSecondHandle) {
    test::TempDir dir;
    std::string path = dir.Join("locked.txt");
    test::WriteBytes(path, "x");
    platform::File first = platform::File::OpenRead(path.c_str(), true);
    ASSERT_TRUE(first.IsOpen());
    EXPECT_FALSE(platform::File::OpenRead(path.c_str(), true).IsOpen());
    EXPECT_FALSE(platform::File::OpenRead(path.c_str(), false).IsOpen());
    EXPECT_FALSE(platform::File::OpenAlways(path.c_str()).IsOpen());
    // A moved handle still holds the file; closing it frees it.
    platform::File moved = std::move(first);
    EXPECT_FALSE(first.IsOpen());
    EXPECT_FALSE(platform::File::OpenRead(path.c_str(), true).IsOpen());
    moved.Close();
    EXPECT_TRUE(platform::File::OpenRead(path.c_str(), true).IsOpen());
    // Two shared readers may coexist.
    platform::File a = platform::File::OpenRead(path.c_str(), false);
    platform::File b = platform::File::OpenRead(path.c_str(), false);
    EXPECT_TRUE(a.IsOpen());
    EXPECT_TRUE(b.IsOpen());
}

TEST(PlatformFile, WriteAppendAndRead) {
    test::TempDir dir;
    std::string path = dir.Join("report.txt");
    {
        platform::File f = platform::File::OpenAlways(path.c_str());
        ASSERT_TRUE(f.IsOpen());
        ASSERT_TRUE(f.Write("abc\r\n", 5));
    }
    {
        platform::File f = platform::File::OpenAlways(path.c_str());
        ASSERT_TRUE(f.SeekEnd());
        ASSERT_TRUE(f.Write("de", 2));
        uint64_t size = 0;
        ASSERT_TRUE(f.Size(&size));
        EXPECT_EQ(size, 7u);
        ASSERT_TRUE(f.Seek(3));
        char buf[8] = {};
        uint32_t got = 0;
        ASSERT_TRUE(f.Read(buf, sizeof buf, &got));
        EXPECT_EQ(std::string(buf, got), "\r\nde");
    }
    EXPECT_EQ(test::ReadBytes(path), "abc\r\nde");
    EXPECT_TRUE(platform::FileExists(path.c_str()));
    EXPECT_FALSE(platform::FileExists(dir.Path().c_str()));
    EXPECT_TRUE(platform::IsDirectory(dir.Path().c_str()));
    // Copying never overwrites.
    std::string copy = dir.Join("copy.txt");
    EXPECT_TRUE(platform::CopyFileNoOverwrite(path.c_str(), copy.c_str()));
    test::WriteBytes(path, "new");
    EXPECT_FALSE(platform::CopyFileNoOverwrite(path.c_str(), copy.c_str()));
    EXPECT_EQ(test::ReadBytes(copy), "abc\r\nde");
    EXPECT_TRUE(platform::DeleteFilePath(copy.c_str()));
    EXPECT_FALSE(platform::FileExists(copy.c_str()));
    // Nested folders are created with their parents.
    std::string nested = dir.Join("a/b/c");
    EXPECT_TRUE(platform::CreateDirectories(nested.c_str()));
    EXPECT_TRUE(platform::IsDirectory(nested.c_str()));
    EXPECT_TRUE(platform::CreateDirectories(nested.c_str()));
}

}  // namespace
