// The host's character-set converters. Each takes text in the ANSI code
// page (encode) or in its charset (decode) and hands out a new text.
#include "codepage.h"
#include "common/win32_handles.h"
#include "host_call.h"
#include "host_exports.h"
#include "host_memory.h"
#include "iso2022jp.h"
#include "mime_codecs.h"
#include "recipient_list.h"
#include "transcript.h"

namespace {

constexpr unsigned kSjis = 932;

// Converts through the system; nullptr when it has no converter.
LPSTR SystemConvert(LPCSTR source, BOOL encode, unsigned charsetCodePage) {
    if (!source) return nullptr;
    unsigned ansi = AnsiCodePage();
    std::string out;
    bool ok = encode ? Recode(source, ansi, charsetCodePage, &out)
                     : Recode(source, charsetCodePage, ansi, &out);
    return ok ? HostHeap().Text(out) : nullptr;
}

// ANSI text as Shift_JIS, and back.
std::string AnsiToSjis(std::string_view text) {
    if (AnsiCodePage() == kSjis) return std::string(text);
    std::string out;
    Recode(text, AnsiCodePage(), kSjis, &out);
    return out;
}

std::string SjisToAnsi(std::string_view text) {
    if (AnsiCodePage() == kSjis) return std::string(text);
    std::string out;
    Recode(text, kSjis, AnsiCodePage(), &out);
    return out;
}

// EUC-JP from ISO-2022-JP: JIS X 0208 bytes with the high bit set.
std::string JisToEuc(std::string_view jis) {
    std::string out;
    bool wide = false;
    for (size_t i = 0; i < jis.size(); ++i) {
        if (jis.compare(i, 3, "\x1B$B") == 0) {
            wide = true;
            i += 2;
        } else if (jis.compare(i, 3, "\x1B(B") == 0) {
            wide = false;
            i += 2;
        } else {
            char c = jis[i];
            out.push_back(wide && static_cast<unsigned char>(c) >= 0x21 ? static_cast<char>(c | 0x80) : c);
        }
    }
    return out;
}

std::string EucToJis(std::string_view euc) {
    std::string out;
    bool wide = false;
    for (size_t i = 0; i < euc.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(euc[i]);
        if (b == 0x8E && i + 1 < euc.size()) {   // half-width katakana
            wide = false;
            out += "\x1B(I";
            out.push_back(static_cast<char>(static_cast<unsigned char>(euc[++i]) & 0x7F));
            out += "\x1B(B";
        } else if (b >= 0xA1 && b <= 0xFE && i + 1 < euc.size()) {
            if (!wide) out += "\x1B$B";
            wide = true;
            out.push_back(static_cast<char>(b & 0x7F));
            out.push_back(static_cast<char>(static_cast<unsigned char>(euc[++i]) & 0x7F));
        } else {
            if (wide) out += "\x1B(B";
            wide = false;
            out.push_back(b >= 0x80 ? '?' : static_cast<char>(b));
        }
    }
    if (wide) out += "\x1B(B";
    return out;
}

// Code page of a MIME charset name, 0 when unknown.
unsigned CharsetCodePage(std::string charset) {
    for (char& c : charset)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    struct SName { const char* name; unsigned codePage; };
    static const SName kNames[] = {
        {"us-ascii", 20127}, {"iso-8859-1", 28591}, {"iso-8859-2", 28592},
        {"windows-1252", 1252}, {"shift_jis", 932}, {"utf-8", 65001}, {"utf-7", 65000},
        {"euc-jp", 20932}, {"iso-2022-jp", 50220},
    };
    for (const SName& name : kNames)
        if (charset == name.name) return name.codePage;
    return 0;
}

// Decoded bytes of one encoded word in the ANSI code page.
std::string WordToAnsi(const std::string& bytes, unsigned codePage) {
    if (codePage == 50220) return SjisToAnsi(Iso2022JpToSjis(bytes));
    std::string out;
    if (codePage && Recode(bytes, codePage, AnsiCodePage(), &out)) return out;
    return bytes;
}

// Decodes =?charset?B|Q?text?= words; blanks between two words go.
std::string DecodeHeader(std::string_view input, std::string* firstCharset) {
    std::string out;
    size_t i = 0;
    bool lastWasWord = false;
    std::string pendingBlank;
    while (i < input.size()) {
        size_t start = input.find("=?", i);
        if (start == std::string_view::npos) break;
        size_t q1 = input.find('?', start + 2);
        size_t q2 = q1 == std::string_view::npos ? q1 : input.find('?', q1 + 1);
        size_t end = q2 == std::string_view::npos ? q2 : input.find("?=", q2 + 1);
        if (end == std::string_view::npos || q2 != q1 + 2) {
            out.append(input.substr(i, start + 2 - i));
            i = start + 2;
            lastWasWord = false;
            continue;
        }
        std::string_view between = input.substr(i, start - i);
        bool blank = between.find_first_not_of(" \t\r\n") == std::string_view::npos;
        if (!(lastWasWord && blank)) out.append(between);
        std::string charset(input.substr(start + 2, q1 - start - 2));
        char kind = input[q1 + 1];
        std::string_view text = input.substr(q2 + 1, end - q2 - 1);
        std::string bytes = kind == 'B' || kind == 'b' ? Base64Decode(text)
                                                        : QuotedPrintableDecode(text, true);
        if (firstCharset->empty()) *firstCharset = charset;
        out += WordToAnsi(bytes, CharsetCodePage(charset));
        i = end + 2;
        lastWasWord = true;
    }
    if (i < input.size()) out.append(input.substr(i));
    return out;
}

bool ReadAnsiFile(LPCSTR path, std::string* bytes) {
    const win32::ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        bytes->append(buffer, got);
    return ok;
}

bool WriteAnsiFile(LPCSTR path, const std::string& bytes) {
    const win32::ScopedFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() ||
              WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size();
}

// A file converted into another; false when either file fails.
template <typename Convert>
BOOL ConvertFile(LPCSTR output, LPCSTR input, Convert convert) {
    std::string bytes;
    if (!output || !input || !ReadAnsiFile(input, &bytes)) return FALSE;
    return WriteAnsiFile(output, convert(bytes)) ? TRUE : FALSE;
}

}  // namespace

extern "C" {

BOOL WINAPI BKA_B64Convert(LPCSTR outputFile, LPCSTR inputFile, BOOL encode) {
    SHostCall call("BKA_B64Convert");
    return ConvertFile(outputFile, inputFile, [encode](const std::string& bytes) {
        return encode ? Base64Encode(bytes, true) : Base64Decode(bytes);
    });
}

BOOL WINAPI BKA_QPConvert(LPCSTR outputFile, LPCSTR inputFile, BOOL encode) {
    SHostCall call("BKA_QPConvert");
    return ConvertFile(outputFile, inputFile, [encode](const std::string& bytes) {
        return encode ? QuotedPrintableEncode(bytes) : QuotedPrintableDecode(bytes, false);
    });
}

LPSTR WINAPI BKA_ISO_2022_JP(LPCSTR source, BOOL encode) {
    SHostCall call("BKA_ISO_2022_JP");
    if (!source) return nullptr;
    if (encode) return HostHeap().Text(SjisToIso2022Jp(AnsiToSjis(source)));
    return HostHeap().Text(SjisToAnsi(Iso2022JpToSjis(source)));
}

LPSTR WINAPI BKA_ISO_2022_KR(LPCSTR source, BOOL encode) {
    SHostCall call("BKA_ISO_2022_KR");
    return SystemConvert(source, encode, 50225);
}

LPSTR WINAPI BKA_HZ_GB2312(LPCSTR source, BOOL encode) {
    SHostCall call("BKA_HZ_GB2312");
    return SystemConvert(source, encode, 52936);
}

LPSTR WINAPI BKA_ISO_8859_2(LPCSTR source, BOOL encode) {
    SHostCall call("BKA_ISO_8859_2");
    return SystemConvert(source, encode, 28592);
}

LPSTR WINAPI BKA_EUC_JP(LPCSTR source, BOOL encode) {
    SHostCall call("BKA_EUC_JP");
    if (!source) return nullptr;
    if (encode) return HostHeap().Text(JisToEuc(SjisToIso2022Jp(AnsiToSjis(source))));
    return HostHeap().Text(SjisToAnsi(Iso2022JpToSjis(EucToJis(source))));
}

LPSTR WINAPI BKA_UTF_7(LPCSTR source, BOOL encode) {
    SHostCall call("BKA_UTF_7");
    return SystemConvert(source, encode, 65000);
}

LPSTR WINAPI BKA_UTF_8(LPCSTR source, BOOL encode) {
    SHostCall call("BKA_UTF_8");
    return SystemConvert(source, encode, CP_UTF8);
}

LPSTR WINAPI BKA_MIMEHeader(LPCSTR input, LPSTR charset, int size, BOOL encode) {
    SHostCall call("BKA_MIMEHeader");
    if (!input) return nullptr;
    std::string_view text(input);
    if (!encode) {
        std::string found;
        std::string decoded = DecodeHeader(text, &found);
        CopyToBuffer("BKA_MIMEHeader", found, charset, size);
        return HostHeap().Text(decoded);
    }
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        CopyToBuffer("BKA_MIMEHeader", "US-ASCII", charset, size);
        return HostHeap().Text(text);
    }
    bool japanese = AnsiCodePage() == kSjis;
    std::string name = japanese ? "ISO-2022-JP" : "ISO-8859-1";
    std::string bytes = japanese ? SjisToIso2022Jp(text) : std::string(text);
    if (!japanese) Recode(text, AnsiCodePage(), 28591, &bytes);
    CopyToBuffer("BKA_MIMEHeader", name, charset, size);
    return HostHeap().Text("=?" + name + "?B?" + Base64Encode(bytes, false) + "?=");
}

LPSTR WINAPI BKA_SerializeRcpts(LPCSTR addresses) {
    SHostCall call("BKA_SerializeRcpts");
    RaiseIfFailing("BKA_SerializeRcpts");
    if (!addresses) {
        Complain("BKA_SerializeRcpts got no text");
        return nullptr;
    }
    const std::vector<SSerializeRule>& rules = TheHost().serializeRules;
    for (auto rule = rules.rbegin(); rule != rules.rend(); ++rule) {   // the latest rule wins
        if (rule->input != addresses) continue;
        return rule->output ? HostHeap().Text(*rule->output) : nullptr;
    }
    return HostHeap().Text(SerializedRecipients(addresses));
}

}  // extern "C"
