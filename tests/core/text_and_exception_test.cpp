// Exception texts, UTF-8/UTF-16 conversion and its failure texts, trimming and path records.
#include "tevrin/core/delegate.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/filesystem_entity_id.h"
#include "tevrin/core/text.h"

#include <gtest/gtest.h>


using namespace tevrin;

TEST(Exceptions, EachClassAnswersItsTextAndIsCaughtThroughItsBase)
{
    const std::pair<std::string, std::string> rows[] = {
        {exception().what(), "unknown error"}, {general_error("no pixel format").what(), "no pixel format"},
        {invalid_argument().what(), "invalid argument"}, {filesystem_exception().what(), "filesystem problem"},
        {fid_too_long().what(), "filespec or pathspec too long"},
        {length_error().what(), "object (string?) has invalid length"}, {range_error().what(), "range error"},
        {enum_error(-7).what(), "bad enum -7"}, {function_not_found("WTOpenA").what(), "function 'WTOpenA' not found"},
        {library_not_loaded().what(), "library not loaded"},
        {tablet_context_error().what(), "graphics tablet context error"},
        {tablet_context_creation_error().what(), "graphics tablet context could not be created"},
        {empty_delegate_error().what(), "Empty delegate called"},
        {function_not_found(std::string(300, 'x').c_str()).what(), "function '" + std::string(117, 'x')}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(text, expected);
    EXPECT_THROW(throw fid_too_long(), filesystem_exception);
    EXPECT_THROW(throw enum_error(3), range_error);
    EXPECT_THROW(throw tablet_context_error(), tevrin::exception);
    EXPECT_THROW(throw empty_delegate_error(), std::bad_function_call);
    EXPECT_THROW(delegate<int(int)>()(1), empty_delegate_error);
}

TEST(Text, ConversionHelpersAndTheirFailureTexts)
{
    const std::wstring mixed = L"Gr\u00FC\u00DFe \U0001F58A \u20AC";
    EXPECT_EQ(ToUtf8(L"\u20AC"), "\xE2\x82\xAC");
    EXPECT_EQ(ToUtf16(ToUtf8(mixed)), mixed);
    EXPECT_EQ(ToUtf8(static_cast<const wchar_t*>(nullptr)) + ToUtf8(std::wstring()), "");
    EXPECT_EQ(ToUtf16(static_cast<const char*>(nullptr)) + ToUtf16(std::string()), L"");
    const std::pair<void (*)(), const char*> failures[] = {
        {[] { ToUtf16("\xC3\x28"); }, "invalid codepoints for UTF-8 to UTF-16 conversion"},
        {[] { ThrowConversionError(87, true); }, "invalid parameter for UTF-16 to UTF-8 conversion"},
        {[] { ThrowConversionError(122, false); }, "insufficient buffer for UTF-8 to UTF-16 conversion"},
        {[] { ThrowConversionError(1004, true); }, "invalid flags for UTF-16 to UTF-8 conversion"},
        {[] { ThrowConversionError(5, false); }, "cannot convert UTF-16 string to UTF-8"}};
    for (const auto& [action, text] : failures)
        EXPECT_THROW(try { action(); } catch (const char* thrown) { EXPECT_STREQ(thrown, text); throw; }, const char*);
    std::string trimmed = " \t a b\x01\n";
    Trim(trimmed);
    char buffer[] = " \r\x01x y\x7F\x1F ";
    TrimInPlace(buffer);
    EXPECT_EQ(trimmed + "|" + buffer, "a b|x y\x7F");
    EXPECT_STREQ(filesystem_entity_id("  C:\\tools\\ \n").c_str(), "C:\\tools");
    EXPECT_STREQ(filesystem_entity_id(L"D:/Stift\u00FC//").c_str(), "D:/Stift\xC3\xBC/");
    EXPECT_EQ(filesystem_entity_id(std::string(1023, 'a').c_str()).size(), 1023u);
    EXPECT_THROW(filesystem_entity_id(std::string(1024, 'a').c_str()), tevrin::length_error);
}
