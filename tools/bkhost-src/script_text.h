// Script text after variable and escape expansion: runs of UTF-8 text, to be
// converted to the code page the plug-in sees, and raw bytes written as \xHH,
// which are never converted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Windows paths of the run's folders, UTF-8, no trailing backslash.
struct SScriptPaths {
    std::string data;
    std::string plugins;
    std::string appdata;
    std::string commondata;
    std::string shots;        // where screenshot writes its pictures
};

struct STextPiece {
    bool raw = false;
    std::string bytes;
};

class SScriptText {
public:
    void AddText(std::string_view utf8);
    void AddRaw(char byte);
    // Removes a CR LF that ends the text (the last block line's line end).
    void DropFinalLineEnd();
    bool Empty() const { return pieces_.empty(); }
    const std::vector<STextPiece>& Pieces() const { return pieces_; }
    // The text with raw bytes in place and text left as UTF-8.
    std::string Utf8() const;

private:
    std::vector<STextPiece> pieces_;
};

// Replaces %DATA%, %PLUGINS%, %APPDATA%, %COMMONDATA% and, when escapes is
// true, the escapes \t \\ \xHH \r \n. False with *error on a bad escape.
bool ExpandScriptText(std::string_view in, bool escapes, const SScriptPaths& paths,
                      SScriptText* out, std::string* error);

// A block: every line expanded with escapes and followed by CR LF, except a
// line ending in a single backslash, which loses it and gets no line end.
bool ExpandBlock(const std::vector<std::string>& lines, const SScriptPaths& paths,
                 SScriptText* out, std::string* error);
