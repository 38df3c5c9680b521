// The host's own Shift_JIS / ISO-2022-JP converter, checked against the
// system's code page 932 tables and, where Wine has it, its EUC-JP tables
// (EUC-JP is JIS X 0208 with the high bit set).
#include <gtest/gtest.h>
#include <windows.h>

#include "iso2022jp.h"

namespace {

std::string Sjis(const wchar_t* text) {
    char out[256] = {};
    int n = WideCharToMultiByte(932, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return n > 0 ? std::string(out, static_cast<size_t>(n - 1)) : std::string();
}

std::wstring FromSjis(const std::string& sjis) {
    wchar_t out[256] = {};
    int n = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), out, 255);
    return std::wstring(out, n > 0 ? static_cast<size_t>(n) : 0);
}

// Every double-byte character the system's code page 932 knows in the JIS
// X 0208 lead-byte ranges.
std::vector<std::string> Cp932Pairs() {
    std::vector<std::string> pairs;
    for (int lead = 0x81; lead <= 0xEF; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2];
            if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) == 1)
                pairs.emplace_back(bytes, 2);
        }
    }
    return pairs;
}

TEST(BkhostIso2022Jp, KnownTextAndModeSwitches) {
    // 日本語 in ISO-2022-JP, as RFC 1468 mail carries it.
    std::string sjis = Sjis(L"a\u65E5\u672C\u8A9E\r\nb");
    EXPECT_EQ(SjisToIso2022Jp(sjis), "a\x1B$BF|K\\8l\x1B(B\r\nb");
    EXPECT_EQ(Iso2022JpToSjis("a\x1B$BF|K\\8l\x1B(B\r\nb"), sjis);
    // A line never ends in JIS X 0208 mode; the text never ends in it.
    EXPECT_EQ(SjisToIso2022Jp(Sjis(L"\u3042\r\n\u3044")), "\x1B$B$\"\x1B(B\r\n\x1B$B$$\x1B(B");
    EXPECT_EQ(SjisToIso2022Jp("plain ascii"), "plain ascii");
    EXPECT_EQ(SjisToIso2022Jp(""), "");
}

TEST(BkhostIso2022Jp, EveryJisX0208CharacterRoundTrips) {
    std::vector<std::string> pairs = Cp932Pairs();
    ASSERT_GT(pairs.size(), 6000u);
    for (const std::string& pair : pairs) {
        std::string jis = SjisToIso2022Jp(pair);
        ASSERT_EQ(jis.size(), 8u) << std::hex << (pair[0] & 0xFF) << (pair[1] & 0xFF);
        EXPECT_EQ(Iso2022JpToSjis(jis), pair);
    }
}

TEST(BkhostIso2022Jp, AgreesWithTheSystemEucJpTables) {
    if (!IsValidCodePage(20932)) GTEST_SKIP() << "no EUC-JP converter in this system";
    size_t compared = 0;
    for (const std::string& pair : Cp932Pairs()) {
        std::string jis = SjisToIso2022Jp(pair);
        char euc[2] = {static_cast<char>(jis[3] | 0x80), static_cast<char>(jis[4] | 0x80)};
        wchar_t wide[2] = {};
        int n = MultiByteToWideChar(20932, MB_ERR_INVALID_CHARS, euc, 2, wide, 2);
        int row = jis[3] - 0x20;
        // Rows 9 to 15 and 85 to 94 are empty in JIS X 0208: code page 932
        // puts NEC characters there, which EUC-JP tables place elsewhere.
        bool standard = (row >= 1 && row <= 8) || (row >= 16 && row <= 84);
        if (!standard) continue;
        EXPECT_EQ(n, 1) << "row " << row;
        // Our JIS code, read back through the system's table, is the same
        // character, up to the six code points where code page 932 and the
        // JIS tables name one character differently.
        std::wstring system(wide, 1);
        std::wstring ours = FromSjis(pair);
        static const std::pair<wchar_t, wchar_t> kNamedApart[] = {
            {0x301C, 0xFF5E}, {0x2016, 0x2225}, {0x2212, 0xFF0D},
            {0x00A2, 0xFFE0}, {0x00A3, 0xFFE1}, {0x00AC, 0xFFE2}};
        for (const auto& apart : kNamedApart)
            if (system[0] == apart.first && ours[0] == apart.second) system = ours;
        EXPECT_EQ(system, ours) << "row " << row;
        ++compared;
    }
    EXPECT_GT(compared, 6000u);
}

TEST(BkhostIso2022Jp, HalfWidthKanaBecomeFullWidth) {
    // ｶﾞｷﾞﾊﾟﾋﾞｳﾞｱｰ｡ﾞ: marks join the kana before them where a combined form exists.
    std::string half = Sjis(L"\uFF76\uFF9E\uFF77\uFF9E\uFF8A\uFF9F\uFF8B\uFF9E\uFF73\uFF9E\uFF71\uFF70\uFF61\uFF9E");
    ASSERT_EQ(half.size(), 14u);
    std::string back = Iso2022JpToSjis(SjisToIso2022Jp(half));
    EXPECT_EQ(FromSjis(back), L"\u30AC\u30AE\u30D1\u30D3\u30F4\u30A2\u30FC\u3002\u309B");
    // Every half-width kana alone maps to the full-width one the system names;
    // the lone marks become the spacing marks, the forms JIS X 0208 has.
    for (wchar_t kana = 0xFF61; kana <= 0xFF9F; ++kana) {
        wchar_t one[2] = {kana, 0};
        std::wstring full = FromSjis(Iso2022JpToSjis(SjisToIso2022Jp(Sjis(one))));
        ASSERT_EQ(full.size(), 1u);
        wchar_t folded[4] = {};
        LCMapStringW(LOCALE_INVARIANT, LCMAP_FULLWIDTH, one, 1, folded, 4);
        if (kana == 0xFF9E) folded[0] = 0x309B;
        if (kana == 0xFF9F) folded[0] = 0x309C;
        EXPECT_EQ(full[0], folded[0]) << std::hex << kana;
    }
}

TEST(BkhostIso2022Jp, StrayBytesAndOtherSets) {
    // User-defined and IBM extension rows, lone lead bytes and 0x80 become '?'.
    EXPECT_EQ(SjisToIso2022Jp("\xF0\x40" "a\xFA\x40" "b\x80" "c\x82"), "?a?b?c?");
    // The 1978 set and JIS Roman read as JIS X 0208 and ASCII; ESC ( I reads
    // half-width katakana.
    EXPECT_EQ(Iso2022JpToSjis("\x1B$@$\"\x1B(Jx"), Sjis(L"\u3042x"));
    EXPECT_EQ(Iso2022JpToSjis("\x1B(I\x31\x1B(B"), Sjis(L"\uFF71"));
    // An odd byte in JIS X 0208 mode is no character.
    EXPECT_EQ(Iso2022JpToSjis("\x1B$B$"), "?");
}

}  // namespace
