// The box shown for each kind of failure, read from the real box. Its caption is never the
// product's title: an end-to-end test running beside this one must not take it for the program.
#include "support/message_box_watcher.h"
#include "support/plain_window.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/message_box.h"

#include <gtest/gtest.h>

using namespace tevrin;

namespace {

template <typename Thrown>
tevrin_test::SeenMessageBox BoxFor(Thrown thrown, DWORD timeoutMs = 5000)
{
    auto box = tevrin_test::WatchForMessageBox(timeoutMs);
    try {
        throw thrown;
    } catch (...) {
        ReportCaughtException();  // returns when the box was closed
    }
    return box.get();
}

}  // namespace

// Runs first: the caption is "Message" until the application records its title.
TEST(ErrorReport, EachKindOfFailureShowsItsTextUnderTheRecordedTitle)
{
    EXPECT_EQ(BoxFor(general_error("before")).caption, L"Message");
    RecordApplicationTitle(L"Error box test");
    const std::pair<tevrin_test::SeenMessageBox, const wchar_t*> rows[] = {
        {BoxFor(function_not_found("WTOpenA")), L"Error occurred: function 'WTOpenA' not found"},
        {BoxFor(std::string("narrow \xE2\x82\xAC string")), L"Error occurred: narrow \u20AC string"},
        {BoxFor(std::wstring(L"wide string")), L"Error occurred: wide string"},
        {BoxFor(static_cast<const wchar_t*>(L"wide text")), L"Error occurred: wide text"},
        {BoxFor(static_cast<const char*>("cannot get version of file")), L"Error occurred: cannot get version of file"},
        {BoxFor(empty_delegate_error()), L"Error occurred: Empty delegate called"},  // a standard exception
        {BoxFor(42), L"Error occurred: unknown"},
        {BoxFor(user_cancelled_process()), L"Operation stopped."}};
    for (const auto& [box, text] : rows)
        EXPECT_EQ(box.caption + L": " + box.text, L"Error box test: " + std::wstring(text));
    EXPECT_FALSE(BoxFor(dialog_cancelled(), 0).seen);
}

TEST(ErrorReport, OwnerIsTheProcessesFirstUnownedTopLevelWindow)
{
    EXPECT_EQ(BoxFor(general_error("no owner")).owner, nullptr);
    const tevrin_test::PlainWindow top = tevrin_test::MakePlainWindow();
    const tevrin_test::PlainWindow owned = tevrin_test::MakePlainWindow(top.get());
    EXPECT_EQ(BoxFor(general_error("owned box")).owner, top.get());
}
