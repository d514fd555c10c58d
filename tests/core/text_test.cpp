#include "tevrin/core/exception.h"
#include "tevrin/core/filesystem_entity_id.h"
#include "tevrin/core/text.h"

#include <gtest/gtest.h>

#include <string>

using namespace tevrin;

namespace {

std::string ThrownMessage(void (*action)())
{
    try {
        action();
    } catch (const char* message) {
        return message;
    }
    return "(nothing thrown)";
}

}  // namespace

TEST(TextConversion, RoundTripsNonAsciiText)
{
    EXPECT_EQ(ToUtf8(L"\u20AC"), "\xE2\x82\xAC");
    EXPECT_EQ(ToUtf16("\xE2\x82\xAC"), L"\u20AC");
    const std::wstring mixed = L"Gr\u00FC\u00DFe \U0001F58A pen";
    EXPECT_EQ(ToUtf16(ToUtf8(mixed)), mixed);
}

TEST(TextConversion, EmptyAndNullInputGiveEmptyResults)
{
    EXPECT_EQ(ToUtf8(std::wstring()), "");
    EXPECT_EQ(ToUtf8(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(ToUtf16(std::string()), L"");
    EXPECT_EQ(ToUtf16(static_cast<const char*>(nullptr)), L"");
}

TEST(TextConversion, InvalidUtf8IsRefusedWithItsText)
{
    EXPECT_EQ(ThrownMessage([] { ToUtf16("\xC3\x28"); }), "invalid codepoints for UTF-8 to UTF-16 conversion");
}

TEST(TextConversion, ErrorTextsNameReasonAndDirection)
{
    EXPECT_EQ(ThrownMessage([] { ThrowConversionError(87, true); }), "invalid parameter for UTF-16 to UTF-8 conversion");
    EXPECT_EQ(ThrownMessage([] { ThrowConversionError(122, false); }),
              "insufficient buffer for UTF-8 to UTF-16 conversion");
    EXPECT_EQ(ThrownMessage([] { ThrowConversionError(1004, true); }), "invalid flags for UTF-16 to UTF-8 conversion");
    EXPECT_EQ(ThrownMessage([] { ThrowConversionError(5, false); }), "cannot convert UTF-16 string to UTF-8");
}

TEST(TextConversion, ErrorTextLivesInOneSharedBuffer)
{
    const char* first = nullptr;
    try {
        ThrowConversionError(87, true);
    } catch (const char* message) {
        first = message;
    }
    try {
        ThrowConversionError(1113, false);
    } catch (const char* message) {
        EXPECT_EQ(message, first);
    }
    EXPECT_STREQ(first, "invalid codepoints for UTF-8 to UTF-16 conversion");
}

TEST(TextHelpers, TrimRemovesBlanksAndControlCharactersOnly)
{
    std::string text = "  a b \t\n";
    Trim(text);
    EXPECT_EQ(text, "a b");
    std::string blanks = "\t \n";
    Trim(blanks);
    EXPECT_EQ(blanks, "");
    std::string accented = "\xC3\xA9 ";
    Trim(accented);
    EXPECT_EQ(accented, "\xC3\xA9");

    char buffer[] = " \r\x01x y\x7F\x1F ";
    TrimInPlace(buffer);
    EXPECT_STREQ(buffer, "x y\x7F");
    char allBlank[] = " \t ";
    TrimInPlace(allBlank);
    EXPECT_STREQ(allBlank, "");

    EXPECT_EQ(Trim(std::wstring(L"\t wide \u00A0 ")), L"wide \u00A0");
}

TEST(TextHelpers, SplitAtBarDropsEmptyPieces)
{
    EXPECT_EQ(SplitAtBar(L"|a||b|"), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_TRUE(SplitAtBar(L"").empty());
    EXPECT_TRUE(SplitAtBar(L"|||").empty());
    EXPECT_EQ(SplitAtBar(L"one"), (std::vector<std::wstring>{L"one"}));
    EXPECT_EQ(SplitAtBar(L"Copy|Clear"), (std::vector<std::wstring>{L"Copy", L"Clear"}));
}

TEST(TextHelpers, FormatNumberIsCompact)
{
    EXPECT_EQ(FormatNumber(2.5), L"2.5");
    EXPECT_EQ(FormatNumber(3.0), L"3");
    EXPECT_EQ(FormatNumber(-0.0001), L"0");
    EXPECT_EQ(FormatNumber(-1.25), L"-1.25");
    EXPECT_EQ(FormatNumber(0.0012), L"0.001");
    EXPECT_EQ(FormatNumber(12345678.0), L"12345678");
    EXPECT_EQ(FormatNumber(100.0), L"100");
    EXPECT_LE(FormatNumber(1e60).size(), 49u);
}

TEST(FilesystemEntityId, TrimsBlanksAndOneTrailingSeparator)
{
    EXPECT_STREQ(filesystem_entity_id("  C:\\tools\\ \n").c_str(), "C:\\tools");
    EXPECT_STREQ(filesystem_entity_id("C:\\tools\\\\").c_str(), "C:\\tools\\");
    EXPECT_STREQ(filesystem_entity_id(L"D:/pens/").c_str(), "D:/pens");
    EXPECT_STREQ(filesystem_entity_id(L"C:\\Stift\u00FC").c_str(), "C:\\Stift\xC3\xBC");
}

TEST(FilesystemEntityId, RefusesPathsOver1023Bytes)
{
    const std::string longest(1023, 'a');
    EXPECT_EQ(filesystem_entity_id(longest.c_str()).size(), 1023u);
    const std::string tooLong(1024, 'a');
    EXPECT_THROW(filesystem_entity_id(tooLong.c_str()), tevrin::length_error);
}
