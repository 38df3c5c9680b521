// The plug-in information record: filled from the version record, never
// written past a field, never cut inside a double-byte character.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/version.h"
#include "plugin/plugin_info.h"
#include "support/test_support.h"
#include "win32/common_version_fixture.h"

namespace {

constexpr unsigned char kCanary = 0xA5;

// The record as the host lays it out, fenced on both sides.
struct FencedRecord {
    unsigned char before[32];
    HostPlugInInfo info;
    unsigned char after[32];
};

void Fill(FencedRecord& record) { std::memset(&record, kCanary, sizeof record); }

bool FenceIntact(const FencedRecord& record) {
    for (unsigned char c : record.before)
        if (c != kCanary) return false;
    for (unsigned char c : record.after)
        if (c != kCanary) return false;
    return true;
}

// Bytes of field written up to and including its terminator; the rest keeps
// the canary.
size_t Written(const char* field, size_t size) {
    const char* end = static_cast<const char*>(std::memchr(field, '\0', size));
    EXPECT_NE(end, nullptr) << "no terminator inside the field";
    if (!end) return size + 1;
    for (size_t i = static_cast<size_t>(end - field) + 1; i < size; ++i)
        EXPECT_EQ(static_cast<unsigned char>(field[i]), kCanary) << "offset " << i;
    return static_cast<size_t>(end - field);
}

}  // namespace

TEST(PlugInInfo, OverlongTextsStayInsideTheirFields) {
    test::TempDir dir;
    std::wstring name(300, L'N'), vendor(100, L'V'), version(80, L'9'), comments(2000, L'c');
    std::vector<test::VersionTable> tables = {
        {"040904B0",
         {{L"ProductName", name}, {L"CompanyName", vendor}, {L"ProductVersion", version},
          {L"Comments", comments}}},
    };
    std::string path = dir.Join("long.dll");
    ASSERT_TRUE(test::WriteModuleWithVersion(
        HALYARD_DLL_PATH, path, test::VersionBlockBuilder::Build(tables, {0x04B00409u}, true),
        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    SVersion record(path.c_str());

    FencedRecord fenced;
    Fill(fenced);
    FillPlugInInfo(&fenced.info, &record);
    EXPECT_TRUE(FenceIntact(fenced));
    EXPECT_EQ(Written(fenced.info.name, kInfoNameSize), kInfoNameSize - 1);
    EXPECT_EQ(Written(fenced.info.vendor, kInfoVendorSize), kInfoVendorSize - 1);
    EXPECT_EQ(Written(fenced.info.version, kInfoVersionSize), kInfoVersionSize - 1);
    EXPECT_EQ(Written(fenced.info.description, kInfoDescriptionSize), kInfoDescriptionSize - 1);
    EXPECT_EQ(std::string(fenced.info.name), std::string(kInfoNameSize - 1, 'N'));
    EXPECT_EQ(std::string(fenced.info.description), std::string(kInfoDescriptionSize - 1, 'c'));
}

TEST(PlugInInfo, TheLibraryRecordAndNoRecord) {
    SVersion own(HALYARD_DLL_PATH);
    FencedRecord fenced;
    Fill(fenced);
    FillPlugInInfo(&fenced.info, &own);
    EXPECT_TRUE(FenceIntact(fenced));
    EXPECT_STREQ(fenced.info.vendor, "Tarnwick");
    if (GetACP() == 932) {
        EXPECT_STREQ(fenced.info.version, "4.1.4.0");
        EXPECT_EQ(std::strlen(fenced.info.description), 141u);   // the whole text fits
    } else {
        EXPECT_STREQ(fenced.info.name, "Becky! Halyard Plugin");
        EXPECT_STREQ(fenced.info.version, "4.1.3.0");
        EXPECT_STREQ(fenced.info.description,
                     "Halyard replaces reply-address from your address-book.");
    }

    // Without a version record every field is an empty text.
    Fill(fenced);
    FillPlugInInfo(&fenced.info, nullptr);
    EXPECT_TRUE(FenceIntact(fenced));
    EXPECT_EQ(Written(fenced.info.name, kInfoNameSize), 0u);
    EXPECT_EQ(Written(fenced.info.description, kInfoDescriptionSize), 0u);

    FillPlugInInfo(nullptr, &own);   // a host that passes nothing gets nothing
}

TEST(PlugInInfo, CutsFallOnCharacterBoundaries) {
    // "テ" is 0x83 0x65 in Shift_JIS: a lead byte, then a trail byte.
    std::string text = "a";
    for (int i = 0; i < 60; ++i) text += "\x83" "e";
    char out[8];
    std::memset(out, kCanary, sizeof out);
    size_t copied = CopyInfoText(out, sizeof out, text.c_str());
    EXPECT_EQ(out[copied], '\0');
    if (GetACP() == 932) {
        // 1 + 3 characters of 2 bytes; a fourth would leave half of it.
        EXPECT_EQ(copied, 7u);
        EXPECT_EQ(std::string(out), text.substr(0, 7));
        char odd[7];
        EXPECT_EQ(CopyInfoText(odd, sizeof odd, text.c_str()), 5u);
    } else {
        EXPECT_EQ(copied, 7u);
        char odd[7];
        EXPECT_EQ(CopyInfoText(odd, sizeof odd, text.c_str()), 6u);
    }
    EXPECT_EQ(CopyInfoText(out, sizeof out, "short"), 5u);
    EXPECT_STREQ(out, "short");
    EXPECT_EQ(CopyInfoText(out, 1, "x"), 0u);
    EXPECT_EQ(out[0], '\0');
}
