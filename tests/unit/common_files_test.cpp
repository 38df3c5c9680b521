#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "common/sequential_file.h"
#include "common/small_file.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> AllLines(const std::string& path) {
    SSequentialFile file(path.c_str());
    std::vector<std::string> lines;
    while (const char* line = file.ReadLine()) lines.emplace_back(line);
    return lines;
}

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

TEST(SequentialFile, LinesWindowsAndPieces) {
    test::TempDir dir;
    EXPECT_THROW(SSequentialFile(dir.Join("missing").c_str()), std::runtime_error);

    test::WriteBytes(dir.Join("empty"), "");
    EXPECT_TRUE(AllLines(dir.Join("empty")).empty());

    // A last line without CR LF comes once; a lone LF is not a separator.
    test::WriteBytes(dir.Join("lines"), "first\r\n\r\nthird\nstill\r\nlast");
    EXPECT_EQ(AllLines(dir.Join("lines")),
              (std::vector<std::string>{"first", "", "third\nstill", "last"}));
    test::WriteBytes(dir.Join("ending"), "a\r\nb\r\n");
    EXPECT_EQ(AllLines(dir.Join("ending")), (std::vector<std::string>{"a", "b"}));

    // Exactly one window without CR LF is one line.
    std::string window(kSequentialWindowSize, 'x');
    test::WriteBytes(dir.Join("window"), window);
    auto one = AllLines(dir.Join("window"));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(one[0] == window);

    // Longer lines come in window-sized pieces.
    std::string longer(kSequentialWindowSize * 2 + 10, 'y');
    test::WriteBytes(dir.Join("longer"), longer + "\r\nz");
    auto pieces = AllLines(dir.Join("longer"));
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].size(), kSequentialWindowSize);
    EXPECT_EQ(pieces[1].size(), kSequentialWindowSize);
    EXPECT_EQ(pieces[2], std::string(10, 'y'));
    EXPECT_EQ(pieces[3], "z");

    // Many lines across window borders come whole and in order.
    std::string many;
    std::vector<std::string> expected;
    for (int i = 0; many.size() < 3 * kSequentialWindowSize; ++i) {
        std::string line = "line " + std::to_string(i) + std::string(static_cast<size_t>(i % 97), '.');
        expected.push_back(line);
        many += line + "\r\n";
    }
    test::WriteBytes(dir.Join("many"), many);
    EXPECT_TRUE(AllLines(dir.Join("many")) == expected);

    // A line just shorter than the window after a short first line stays whole.
    std::string near(kSequentialWindowSize - 3, 'n');
    test::WriteBytes(dir.Join("near"), "a\r\n" + near + "\r\nb");
    auto nearLines = AllLines(dir.Join("near"));
    ASSERT_EQ(nearLines.size(), 3u);
    EXPECT_TRUE(nearLines[1] == near);
    EXPECT_EQ(nearLines[2], "b");

    // A CR LF split by the window's edge stays one separator.
    std::string edge(kSequentialWindowSize - 1, 'e');
    test::WriteBytes(dir.Join("edge"), edge + "\r\nb");
    auto edgeLines = AllLines(dir.Join("edge"));
    ASSERT_EQ(edgeLines.size(), 2u);
    EXPECT_TRUE(edgeLines[0] == edge);
    EXPECT_EQ(edgeLines[1], "b");
    // A lone CR at the edge stays part of the text.
    test::WriteBytes(dir.Join("lonecr"), edge + "\rx\r\nb");
    auto loneLines = AllLines(dir.Join("lonecr"));
    ASSERT_EQ(loneLines.size(), 3u);
    EXPECT_TRUE(loneLines[0] == edge);
    EXPECT_EQ(loneLines[1], "\rx");
    EXPECT_EQ(loneLines[2], "b");
}

}  // namespace
