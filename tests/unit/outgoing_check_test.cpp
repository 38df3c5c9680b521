// The outgoing checks against the fake host. Natively only: they answer
// message boxes and hold the Control key through the platform stand-in.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/platform_testing.h"
#include "outgoing/outgoing.h"
#include "support/fake_host.h"

using fakehost::Fake;
using fakehost::FakeHostScope;
using fakehost::Window;

namespace {

class OutgoingTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::testing::SetResString(22, "attach text");
        platform::testing::SetResString(23, "attach caption");
        platform::testing::SetResString(36, "subject text");
        platform::testing::SetResString(37, "subject caption");
        Fake().noBody = true;
        scope.Settings().attachWords.SplitFrom("attached,attach,send");
        Fake().compose["From"] = "me@example.org";
        Fake().compose["To"] = "ann@example.com";
        Fake().compose["Subject"] = "Minutes";
    }
    void TearDown() override { EXPECT_EQ(Fake().liveTexts, 0); }

    void SetBody(const std::string& text, const std::string& mimeType = "text/plain") {
        Fake().noBody = false;
        Fake().body = text;
        Fake().mimeType = mimeType;
    }
    // Captions of the boxes shown since the last call.
    std::vector<std::string> Boxes() {
        std::vector<std::string> captions;
        for (const auto& box : platform::testing::TakeShownBoxes()) captions.push_back(box.caption);
        return captions;
    }

    FakeHostScope scope;
    const std::vector<std::string> attachBox{"attach caption"};
    const std::vector<std::string> none{};
};

}  // namespace

TEST_F(OutgoingTest, KeywordInTextAsksAndCancelStops) {
    SetBody("Hello,\r\nthe report is attached.\r\n");
    platform::testing::QueueMessageBoxAnswer(platform::kIdCancel);
    EXPECT_EQ(OnOutgoing(scope.work, nullptr, Window(), 0), -1);
    const auto boxes = platform::testing::TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, Window());
    EXPECT_EQ(boxes[0].text, "attach text");
    EXPECT_EQ(boxes[0].caption, "attach caption");
    EXPECT_EQ(boxes[0].flags & 0xF, platform::kMbOkCancel);

    platform::testing::QueueMessageBoxAnswer(platform::kIdOk);
    EXPECT_EQ(OnOutgoing(scope.work, nullptr, Window(), 2), 0);
    EXPECT_EQ(Boxes(), attachBox);
    // A draft is never inspected.
    EXPECT_EQ(OnOutgoing(scope.work, nullptr, Window(), 1), 0);
    EXPECT_EQ(Boxes(), none);
}

TEST_F(OutgoingTest, NothingWithoutSettings) {
    scope.work.settings = nullptr;
    Fake().compose["Subject"] = "Re:";
    SetBody("attached");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(OnOutgoing(scope.work, nullptr, Window(), 0), 0);
    EXPECT_EQ(Boxes(), none);
}

TEST_F(OutgoingTest, SubjectCheckComesFirst) {
    Fake().compose["Subject"] = " Re: ";
    SetBody("attached");
    platform::testing::QueueMessageBoxAnswer(platform::kIdCancel);
    EXPECT_EQ(OnOutgoing(scope.work, nullptr, Window(), 0), -1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"subject caption"});
    // Confirmed, the attachment check still runs.
    platform::testing::QueueMessageBoxAnswer(platform::kIdOk);
    platform::testing::QueueMessageBoxAnswer(platform::kIdCancel);
    EXPECT_EQ(OnOutgoing(scope.work, nullptr, Window(), 0), -1);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"subject caption", "attach caption"}));
    // Mode 1 runs neither.
    EXPECT_EQ(OnOutgoing(scope.work, nullptr, Window(), 1), 0);
    EXPECT_EQ(Boxes(), none);
}

TEST_F(OutgoingTest, QuotedLinesSubjectAndMissingText) {
    SetBody("Thanks!\r\n> I attached the file\r\nAB> send it back\r\n");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);

    // A new message's subject counts, even without a text.
    Fake().noBody = true;
    Fake().compose["Subject"] = "Slides attached";
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), attachBox);
    // A reply's subject is the base mail's and is not searched; its text is.
    Fake().compose["Subject"] = "RE: Slides attached";
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);
    SetBody("Here they are, attached.");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), attachBox);

    // The host's citation mark decides what is quoted; empty quotes all text.
    SetBody("| attached\r\n");
    Fake().compose["Subject"] = "Minutes";
    std::strcpy(scope.Settings().citation, "| ");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);
    scope.Settings().citation[0] = '\0';
    SetBody("I attached it\r\n");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);
    Fake().compose["Subject"] = "Slides attached";
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), attachBox);
}

TEST_F(OutgoingTest, HtmlText) {
    SetBody("<p>&gt; I attached it</p>\r\n<p>Thanks</p>\r\n", "text/html");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);
    // The same bytes as plain text are no quotation.
    SetBody("<p>&gt; I attached it</p>\r\n<p>Thanks</p>\r\n", "text/plain");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), attachBox);
    SetBody("<p>Attached: send</p>", "TEXT/HTML");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), attachBox);
}

TEST_F(OutgoingTest, WhatSwitchesTheReminderOff) {
    SetBody("attached");
    auto silent = [&](const char* what) {
        EXPECT_EQ(CheckAttachment(scope.work, Window()), 0) << what;
        EXPECT_EQ(Boxes(), none) << what;
    };
    auto asks = [&](const char* what) {
        EXPECT_EQ(CheckAttachment(scope.work, Window()), 0) << what;
        EXPECT_EQ(Boxes(), attachBox) << what;
    };

    Fake().compose["Content-Type"] = "multipart/mixed; boundary=\"b1\"";
    silent("parts");
    Fake().compose["Content-Type"] = "multipart/mixed";
    asks("multipart without boundary");
    Fake().compose["Content-Type"] = "text/plain; charset=us-ascii";
    asks("plain");

    Fake().compose["X-QXE-Ident"] = "1";
    silent("X-QXE-Ident");
    Fake().compose.erase("X-QXE-Ident");
    Fake().compose["X-BkDelayStatus"] = "pending";
    silent("X-BkDelayStatus");
    Fake().compose.erase("X-BkDelayStatus");
    asks("markers gone");

    Fake().compose["To"] = "Ann <ann@example.com>, bob@partner.example";
    scope.Settings().excludeTo.SplitFrom("@nowhere.example,@partner.example");
    silent("ExcludeTo anywhere in To");
    scope.Settings().excludeTo.Clear();
    Fake().compose["Cc"] = "list@lists.example";
    scope.Settings().excludeCc.SplitFrom("lists.example");
    silent("ExcludeCc");
    scope.Settings().excludeCc.Clear();
    Fake().compose["Bcc"] = "archive@example.org";
    scope.Settings().excludeBcc.SplitFrom("archive@");
    silent("ExcludeBcc");
    scope.Settings().excludeBcc.Clear();
    Fake().compose["Subject"] = "[auto] Minutes";
    scope.Settings().excludeSubject.SplitFrom("[auto]");
    silent("ExcludeSubject");
    // Entries are case-sensitive.
    scope.Settings().excludeSubject.SplitFrom("[AUTO]");
    asks("ExcludeSubject in other case");

    scope.Settings().inspect = false;
    silent("Inspect off");
}

TEST_F(OutgoingTest, JapaneseWordsInShiftJisAndUtf8Windows) {
    platform::testing::SetAnsiCodePage(932);
    scope.Settings().attachWords.SplitFrom("\x93\x59\x95\x74,\x91\x97\x95\x74");   // 添付,送付
    // Shift_JIS window: "資料を添付します".
    SetBody("\x8e\x91\x97\xbf\x82\xf0\x93\x59\x95\x74\x82\xb5\x82\xdc\x82\xb7\r\n");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), attachBox);

    // UTF-8 window: the text is UTF-8, the words are converted first.
    Fake().codePage = 65001;
    SetBody("\xe8\xb3\x87\xe6\x96\x99\xe3\x82\x92\xe6\xb7\xbb\xe4\xbb\x98\r\n");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), attachBox);
    SetBody("> \xe6\xb7\xbb\xe4\xbb\x98\r\n");
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);

    // Header values may come in either form; an exclusion matches both.
    scope.Settings().excludeSubject.SplitFrom("\x8e\x96\x96\xb1");   // 事務
    SetBody("\xe6\xb7\xbb\xe4\xbb\x98");
    Fake().compose["Subject"] = "\x8e\x96\x96\xb1";
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);
    Fake().compose["Subject"] = "\xe4\xba\x8b\xe5\x8b\x99";
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);

    // A host that cannot convert leaves nothing to match in UTF-8 text.
    scope.Settings().excludeSubject.Clear();
    Fake().compose["Subject"] = "Minutes";
    Fake().utf8Fails = true;
    EXPECT_EQ(CheckAttachment(scope.work, Window()), 0);
    EXPECT_EQ(Boxes(), none);
}

#endif  // !_WIN32
