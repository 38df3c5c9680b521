#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/directory_walk.h"
#include "support/test_support.h"

namespace {

struct Visit {
    std::string directory;
    std::string fullPath;
    std::string name;
    bool isDirectory;
};

struct Recorder {
    std::vector<Visit> visits;
    std::string answerFor;   // name answered with `answer`, others 1
    uint8_t answer = 1;
};

uint8_t Record(void* context, const char* directory, const char* fullPath,
               const platform::DirEntry& entry) {
    auto* r = static_cast<Recorder*>(context);
    r->visits.push_back(Visit{directory, fullPath, entry.name, entry.isDirectory});
    return entry.name == r->answerFor ? r->answer : 1;
}

std::vector<std::string> Names(const Recorder& r) {
    std::vector<std::string> names;
    for (const Visit& v : r.visits) names.push_back(v.name);
    return names;
}

class Walk : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteBytes(dir.Join("b.vcf"), "");
        test::WriteBytes(dir.Join("A.vcf"), "");
        test::WriteBytes(dir.Join("c.txt"), "");
        test::WriteBytes(dir.Join("Sub/d.vcf"), "");
        test::WriteBytes(dir.Join("sub2/e.vcf"), "");
    }
    test::TempDir dir;
};

TEST_F(Walk, ListsSortedWithoutCaseAndRecurses) {
    Recorder r;
    EXPECT_EQ(WalkDirectory(&r, dir.Path().c_str(), "*.vcf", true, Record), 1);
    EXPECT_EQ(Names(r), (std::vector<std::string>{"A.vcf", "b.vcf", "d.vcf", "e.vcf"}));
    ASSERT_EQ(r.visits.size(), 4u);
    EXPECT_EQ(r.visits[0].directory, dir.Path());
    EXPECT_EQ(r.visits[0].fullPath, dir.Path() + "\\A.vcf");
    EXPECT_EQ(r.visits[2].fullPath, dir.Path() + "\\Sub\\d.vcf");

    // "*.*" lists folders too; "." and ".." never come.
    Recorder all;
    EXPECT_EQ(WalkDirectory(&all, dir.Path().c_str(), "*.*", false, Record), 1);
    EXPECT_EQ(Names(all), (std::vector<std::string>{"A.vcf", "b.vcf", "c.txt", "Sub", "sub2"}));
    EXPECT_TRUE(all.visits[3].isDirectory);
    EXPECT_FALSE(all.visits[0].isDirectory);

    // A directory given with its separator is joined once.
    Recorder slash;
    std::string withSlash = dir.Path() + "\\";
    WalkDirectory(&slash, withSlash.c_str(), "c.txt", false, Record);
    ASSERT_EQ(slash.visits.size(), 1u);
    EXPECT_EQ(slash.visits[0].fullPath, dir.Path() + "\\c.txt");
}

TEST_F(Walk, VisitorResultsStopListingOrWalk) {
    // 2 ends this directory's listing, subdirectories are still walked.
    Recorder two;
    two.answerFor = "A.vcf";
    two.answer = 2;
    EXPECT_EQ(WalkDirectory(&two, dir.Path().c_str(), "*.vcf", true, Record), 1);
    EXPECT_EQ(Names(two), (std::vector<std::string>{"A.vcf", "d.vcf", "e.vcf"}));

    // 0 ends the whole walk.
    Recorder zero;
    zero.answerFor = "d.vcf";
    zero.answer = 0;
    EXPECT_EQ(WalkDirectory(&zero, dir.Path().c_str(), "*.vcf", true, Record), 0);
    EXPECT_EQ(Names(zero), (std::vector<std::string>{"A.vcf", "b.vcf", "d.vcf"}));

    // A missing directory is an empty one.
    Recorder none;
    EXPECT_EQ(WalkDirectory(&none, dir.Join("missing").c_str(), "*.*", true, Record), 1);
    EXPECT_TRUE(none.visits.empty());
}

}  // namespace
