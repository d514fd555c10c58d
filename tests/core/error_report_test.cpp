// What the entry point shows for each kind of failure: the catch order, the texts
// and the caption, read from the real message box by a second thread.
#include "support/message_box_watcher.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/message_box.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace tevrin;
using tevrin_test::MessageBoxWatcher;
using tevrin_test::SeenMessageBox;

namespace {

template <typename Thrown>
SeenMessageBox BoxFor(const Thrown& thrown)
{
    MessageBoxWatcher watcher;
    try {
        throw thrown;
    } catch (...) {
        ReportCaughtException();
    }
    return watcher.Wait(2000);
}

struct NotAnException {};

// Runs first: the caption is "Message" until the application records its title.
TEST(ErrorReport, CaptionIsMessageUntilATitleIsRecordedThenTheTitle)
{
    const SeenMessageBox before = BoxFor(general_error("before title"));
    ASSERT_TRUE(before.seen);
    EXPECT_EQ(before.caption, L"Message");
    EXPECT_EQ(before.text, L"Error occurred: before title");

    RecordApplicationTitle(L"Tevrin Nibscope");
    const SeenMessageBox after = BoxFor(general_error("after title"));
    ASSERT_TRUE(after.seen);
    EXPECT_EQ(after.caption, L"Tevrin Nibscope");
    EXPECT_EQ(after.text, L"Error occurred: after title");
}

TEST(ErrorReport, EachKindOfFailureShowsItsText)
{
    EXPECT_EQ(BoxFor(function_not_found("WTOpenA")).text, L"Error occurred: function 'WTOpenA' not found");
    EXPECT_EQ(BoxFor(fid_too_long()).text, L"Error occurred: filespec or pathspec too long");
    EXPECT_EQ(BoxFor(std::string("narrow \xE2\x82\xAC string")).text, L"Error occurred: narrow \u20AC string");
    EXPECT_EQ(BoxFor(std::wstring(L"wide string")).text, L"Error occurred: wide string");
    EXPECT_EQ(BoxFor(static_cast<const wchar_t*>(L"wide text")).text, L"Error occurred: wide text");
    EXPECT_EQ(BoxFor(static_cast<const char*>("cannot get version of file")).text,
              L"Error occurred: cannot get version of file");
    EXPECT_EQ(BoxFor(std::runtime_error("standard")).text, L"Error occurred: standard");
    EXPECT_EQ(BoxFor(empty_delegate_error()).text, L"Error occurred: Empty delegate called");
    EXPECT_EQ(BoxFor(NotAnException()).text, L"Error occurred: unknown");
    EXPECT_EQ(BoxFor(42).text, L"Error occurred: unknown");
}

TEST(ErrorReport, CancellationsShowANoteOrNothing)
{
    const SeenMessageBox stopped = BoxFor(user_cancelled_process());
    ASSERT_TRUE(stopped.seen);
    EXPECT_EQ(stopped.text, L"Operation stopped.");

    MessageBoxWatcher watcher;
    try {
        throw dialog_cancelled();
    } catch (...) {
        ReportCaughtException();
    }
    EXPECT_FALSE(watcher.Wait(300).seen);
}

TEST(ErrorReport, OwnerIsTheProcessesFirstUnownedTopLevelWindow)
{
    EXPECT_EQ(FindMessageBoxOwner(), nullptr);

    HWND top = CreateWindowExW(0, L"STATIC", L"owner candidate", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
    HWND owned = CreateWindowExW(0, L"STATIC", L"owned", WS_OVERLAPPED, 0, 0, 50, 50, top, nullptr, nullptr, nullptr);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(FindMessageBoxOwner(), top);

    const SeenMessageBox box = BoxFor(general_error("owned box"));
    EXPECT_EQ(box.owner, top);
    DestroyWindow(owned);
    DestroyWindow(top);
    EXPECT_EQ(FindMessageBoxOwner(), nullptr);
}

}  // namespace
