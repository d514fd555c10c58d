#include "tevrin/ui/clipboard.h"
#include "tevrin/ui/log_item_table.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

using namespace tevrin;

TEST(LogItemTable, KeepsTheNewestLinesUpToItsLimit)
{
    LogViewItemTable table(1000);
    for (int i = 1; i <= 1001; ++i)
        table.add(log_entry{"line " + std::to_string(i), 1, false});
    EXPECT_EQ(table.count(), 1000);
    EXPECT_EQ(table.item(0)->text, "line 2");
    EXPECT_EQ(table.item(999)->text, "line 1001");
    EXPECT_EQ(table.item(1000), nullptr);
    EXPECT_EQ(table.item(-1), nullptr);
}

TEST(LogItemTable, StoresColourRuleAndWideText)
{
    LogViewItemTable table(10);
    table.add(log_entry{"", 1, false});
    EXPECT_EQ(table.count(), 0);
    table.add(log_entry{"Stift \xC3\xBC", 3, true});
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.item(0)->colourIndex, 3);
    EXPECT_TRUE(table.item(0)->rule);
    EXPECT_EQ(table.item(0)->wideText, L"Stift \u00FC");
    table.clear();
    EXPECT_EQ(table.count(), 0);
}

TEST(Clipboard, PutsUnicodeTextThatOtherProgramsRead)
{
    {
        clipboard transfer(nullptr, CF_UNICODETEXT);
        const std::wstring text = L"a\r\nb\r\n";
        auto* memory = static_cast<wchar_t*>(transfer.allocate((text.size() + 1) * sizeof(wchar_t)));
        text.copy(memory, text.size());
        transfer.set_data();
    }
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(data))), L"a\r\nb\r\n");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST(Clipboard, AClipboardHeldByAnotherThreadIsReportedAsTheOpenStep)
{
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND holderWindow = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
        OpenClipboard(holderWindow);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
        DestroyWindow(holderWindow);
    });
    WaitForSingleObject(opened, 10000);
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool thrown = false;
    try {
        clipboard transfer(owner, CF_UNICODETEXT);
    } catch (const clipboard_error& error) {
        thrown = true;
        EXPECT_EQ(error.failed_step(), clipboard_error::step::open);
        EXPECT_STREQ(error.what(), "the clipboard could not be opened (another program may be holding it)");
    }
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_TRUE(thrown);
    // Once the other thread let go, a transfer goes through.
    EXPECT_NO_THROW(clipboard(owner, CF_UNICODETEXT));
    DestroyWindow(owner);
}
