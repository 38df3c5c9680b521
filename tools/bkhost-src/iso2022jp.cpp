#include "iso2022jp.h"

#include <cstdint>

namespace {

constexpr char kEsc = 0x1B;
constexpr std::string_view kToJis = "\x1B$B";
constexpr std::string_view kToAscii = "\x1B(B";

// JIS X 0208 codes of the half-width katakana 0xA1 to 0xDF.
constexpr uint16_t kHalfWidthKana[63] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523,  // A1-A8
    0x2525, 0x2527, 0x2529, 0x2563, 0x2565, 0x2567, 0x2543, 0x213C,  // A9-B0
    0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F,  // B1-B8
    0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F,  // B9-C0
    0x2541, 0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C, 0x254D,  // C1-C8
    0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E, 0x255F,  // C9-D0
    0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569, 0x256A,  // D1-D8
    0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,          // D9-DF
};

constexpr uint8_t kVoicedMark = 0xDE;
constexpr uint8_t kSemiVoicedMark = 0xDF;

bool IsLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsHalfWidthKana(uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

// The JIS code of a half-width kana, combined with the mark after it when
// that gives one character. *used tells whether the mark was taken.
uint16_t KanaToJis(uint8_t kana, int next, bool* used) {
    uint16_t code = kHalfWidthKana[kana - 0xA1];
    *used = false;
    bool ka = kana >= 0xB6 && kana <= 0xC4;   // ka to to: voiced at +1
    bool ha = kana >= 0xCA && kana <= 0xCE;   // ha to ho: voiced +1, semi-voiced +2
    if (next == kVoicedMark) {
        if (ka || ha) {
            *used = true;
            return static_cast<uint16_t>(code + 1);
        }
        if (kana == 0xB3) {   // u with the voiced mark: vu
            *used = true;
            return 0x2574;
        }
    } else if (next == kSemiVoicedMark && ha) {
        *used = true;
        return static_cast<uint16_t>(code + 2);
    }
    return code;
}

// Shift_JIS pair to JIS row and cell (1 to 94 each). False outside JIS X 0208.
bool PairToJis(uint8_t lead, uint8_t trail, int* row, int* cell) {
    int base;
    if (lead >= 0x81 && lead <= 0x9F) base = (lead - 0x81) * 2 + 1;
    else if (lead >= 0xE0 && lead <= 0xEF) base = (lead - 0xC1) * 2 + 1;
    else return false;
    if (trail <= 0x9E) {
        *row = base;
        *cell = trail - 0x3F - (trail >= 0x80 ? 1 : 0);
    } else {
        *row = base + 1;
        *cell = trail - 0x9E;
    }
    return true;
}

void AppendJisAsSjis(int row, int cell, std::string* out) {
    int lead = (row + 1) / 2 + (row <= 62 ? 0x80 : 0xC0);
    int trail = row % 2 == 1 ? cell + 0x3F + (cell >= 64 ? 1 : 0) : cell + 0x9E;
    out->push_back(static_cast<char>(lead));
    out->push_back(static_cast<char>(trail));
}

}  // namespace

std::string SjisToIso2022Jp(std::string_view sjis) {
    std::string out;
    bool jis = false;
    auto toJis = [&] {
        if (!jis) out += kToJis;
        jis = true;
    };
    auto toAscii = [&] {
        if (jis) out += kToAscii;
        jis = false;
    };
    auto putJis = [&](uint16_t code) {
        toJis();
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    };
    for (size_t i = 0; i < sjis.size(); ++i) {
        uint8_t b = static_cast<uint8_t>(sjis[i]);
        int next = i + 1 < sjis.size() ? static_cast<uint8_t>(sjis[i + 1]) : -1;
        if (b < 0x80) {
            toAscii();
            out.push_back(static_cast<char>(b));
        } else if (IsHalfWidthKana(b)) {
            bool used = false;
            uint16_t code = KanaToJis(b, next, &used);
            if (used) ++i;
            putJis(code);
        } else if (IsLead(b) && next >= 0 && IsTrail(static_cast<uint8_t>(next))) {
            ++i;
            int row = 0, cell = 0;
            if (PairToJis(b, static_cast<uint8_t>(next), &row, &cell)) {
                putJis(static_cast<uint16_t>((row + 0x20) << 8 | (cell + 0x20)));
            } else {
                toAscii();
                out.push_back('?');
            }
        } else {
            toAscii();
            out.push_back('?');
        }
    }
    toAscii();
    return out;
}

std::string Iso2022JpToSjis(std::string_view jis) {
    enum class SMode { Ascii, Jis, Kana } mode = SMode::Ascii;
    std::string out;
    for (size_t i = 0; i < jis.size(); ++i) {
        char c = jis[i];
        if (c == kEsc && i + 2 < jis.size()) {
            std::string_view sequence = jis.substr(i, 3);
            if (sequence == "\x1B$B" || sequence == "\x1B$@") mode = SMode::Jis;
            else if (sequence == "\x1B(B" || sequence == "\x1B(J") mode = SMode::Ascii;
            else if (sequence == "\x1B(I") mode = SMode::Kana;
            else {
                out.push_back(c);
                continue;
            }
            i += 2;
            continue;
        }
        uint8_t b = static_cast<uint8_t>(c);
        if (b < 0x21 || b > 0x7E || mode == SMode::Ascii) {
            out.push_back(c);
        } else if (mode == SMode::Kana) {
            out.push_back(b <= 0x5F ? static_cast<char>(b + 0x80) : '?');
        } else if (i + 1 < jis.size() && static_cast<uint8_t>(jis[i + 1]) >= 0x21 &&
                   static_cast<uint8_t>(jis[i + 1]) <= 0x7E) {
            AppendJisAsSjis(b - 0x20, static_cast<uint8_t>(jis[i + 1]) - 0x20, &out);
            ++i;
        } else {
            out.push_back('?');
        }
    }
    return out;
}
