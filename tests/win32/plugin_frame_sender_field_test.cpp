// Finding the sender window in a message header pane built of real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "plugin/sender_field.h"

namespace {

// A top-level window standing in for the host's main window, holding a
// header pane (label, value pairs) and the message view.
class HeaderPane : public ::testing::Test {
protected:
    void SetUp() override {
        top_ = Make("STATIC", "Host", WS_OVERLAPPEDWINDOW, nullptr);
        ASSERT_NE(top_, nullptr);
        pane_ = Make("STATIC", "", WS_CHILD, top_);
        view_ = Make("EDIT", "message text", WS_CHILD, top_);
    }
    void TearDown() override { DestroyWindow(top_); }

    HWND Make(const char* cls, const char* text, DWORD style, HWND parent) {
        return CreateWindowExA(0, cls, text, style, 0, 0, 10, 10, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    HWND top_ = nullptr;
    HWND pane_ = nullptr;
    HWND view_ = nullptr;
};

}  // namespace

TEST_F(HeaderPane, TheWindowAfterTheLabelIsTheSenderField) {
    Make("STATIC", "Subject:", WS_CHILD, pane_);
    Make("STATIC", "Hello", WS_CHILD, pane_);
    HWND label = Make("STATIC", "From:  ", WS_CHILD, pane_);
    HWND sender = Make("STATIC", "Ann <ann@example.com>", WS_CHILD, pane_);
    Make("STATIC", "From: again", WS_CHILD, pane_);
    ASSERT_NE(label, nullptr);
    // Nested one level down: the walk covers every descendant.
    EXPECT_EQ(FindSenderField(view_, "From:"), sender);
    EXPECT_EQ(FindSenderField(view_, "Subject:"), GetWindow(GetWindow(pane_, GW_CHILD), GW_HWNDNEXT));
}

TEST_F(HeaderPane, NoMatchingLabelLeavesItNull) {
    Make("STATIC", "from:", WS_CHILD, pane_);   // case matters
    Make("STATIC", "ann@example.com", WS_CHILD, pane_);
    Make("STATIC", "Fro", WS_CHILD, pane_);     // shorter than the label
    EXPECT_EQ(FindSenderField(view_, "From:"), nullptr);

    // The label as the last sibling: nothing follows it.
    Make("STATIC", "From:", WS_CHILD, pane_);
    EXPECT_EQ(FindSenderField(view_, "From:"), nullptr);

    // Without a label, a view or a parent no walk takes place.
    EXPECT_EQ(FindSenderField(view_, ""), nullptr);
    EXPECT_EQ(FindSenderField(nullptr, "From:"), nullptr);
    EXPECT_EQ(FindSenderField(top_, "Host"), nullptr);
}
