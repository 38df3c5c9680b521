#include <gtest/gtest.h>

#include <string>

#include "settings/ini_text.h"

namespace {

TEST(IniText, SetsKeysAsTheProfileWriterDoes) {
    std::string text = "; kept\r\n[Settings]\r\nUseAddrBook=1\r\n ReplyFormat = 3\r\n\r\n[Other]\r\nKey=x\r\n";
    // An existing key, found without case and blanks, is replaced in place.
    SetIniValue(&text, "settings", "replyformat", "1");
    // A new key goes after the section's last line, before the blank one.
    SetIniValue(&text, "Settings", "Arrange", "0");
    // A new section goes at the end.
    SetIniValue(&text, "GroupDomain", "Domains", "a.example,b.example");
    EXPECT_EQ(text,
              "; kept\r\n[Settings]\r\nUseAddrBook=1\r\nReplyFormat=1\r\nArrange=0\r\n\r\n"
              "[Other]\r\nKey=x\r\n[GroupDomain]\r\nDomains=a.example,b.example\r\n");
}

TEST(IniText, EmptyAndUnterminatedFiles) {
    std::string text;
    SetIniValue(&text, "Attachment", "AttachWords", "");
    EXPECT_EQ(text, "[Attachment]\r\nAttachWords=\r\n");

    // A last line without its line break gets one before anything is added.
    text = "[Attachment]\r\nInspect=1";
    SetIniValue(&text, "Attachment", "AttachWords", "x");
    SetIniValue(&text, "Settings", "IgnoreCase", "0");
    EXPECT_EQ(text, "[Attachment]\r\nInspect=1\r\nAttachWords=x\r\n[Settings]\r\nIgnoreCase=0\r\n");

    // A key line without '=' is the key without a value: it takes the value.
    text = "[S]\r\nK\r\nL=1\r\n";
    SetIniValue(&text, "S", "K", "v");
    EXPECT_EQ(text, "[S]\r\nK=v\r\nL=1\r\n");

    // A key that is the unterminated last line is replaced whole.
    text = "[S]\r\nK=old";
    SetIniValue(&text, "S", "K", "new");
    EXPECT_EQ(text, "[S]\r\nK=new\r\n");
}

// A CR inside a line is part of the name, as the reader takes it: a section
// "[GroupDomain\r]" is not GroupDomain, and its key is not replaced there.
TEST(IniText, StrayCarriageReturnBelongsToTheName) {
    std::string text = "[GroupDomain\r]x\nDomains=old\r\nKey\r=old\r\n";
    SetIniValue(&text, "GroupDomain", "Domains", "new");
    SetIniValue(&text, "GroupDomain\r", "Key", "new");
    EXPECT_EQ(text,
              "[GroupDomain\r]x\nDomains=old\r\nKey\r=old\r\nKey=new\r\n"
              "[GroupDomain]\r\nDomains=new\r\n");
}

}  // namespace
