#include "tevrin/core/text.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace tevrin {
namespace {

char conversionErrorText[64];

template <typename Char>
bool IsBlank(Char c)
{
    return static_cast<unsigned>(c) <= 32u;
}

// For narrow text the test must not treat UTF-8 continuation bytes as blanks.
bool IsBlankByte(char c)
{
    return static_cast<unsigned char>(c) <= 32u;
}

}  // namespace

std::string ansi_to_utf8(const std::string& ansi)
{
    if (ansi.empty())
        return ansi;
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    if (units == 0)
        ThrowConversionError(GetLastError(), false);
    std::vector<wchar_t> wide(static_cast<size_t>(units), 0);
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), units);
    return ToUtf8(wide.data());
}

std::string ToUtf8(const wchar_t* text)
{
    if (!text || !*text)
        return std::string();
    const size_t units = std::wcslen(text);
    std::vector<char> buffer(3 * units + 1, 0);
    const int written = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer.data(), static_cast<int>(buffer.size()),
                                            nullptr, nullptr);
    if (written == 0)
        ThrowConversionError(GetLastError(), true);
    return std::string(buffer.data());
}

std::string ToUtf8(const std::wstring& text)
{
    return ToUtf8(text.c_str());
}

std::wstring ToUtf16(const char* text)
{
    if (!text || !*text)
        return std::wstring();
    const size_t bytes = std::strlen(text);
    std::vector<wchar_t> buffer(bytes + 1, 0);
    const int written = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, buffer.data(),
                                            static_cast<int>(buffer.size()));
    if (written == 0)
        ThrowConversionError(GetLastError(), false);
    return std::wstring(buffer.data());
}

std::wstring ToUtf16(const std::string& text)
{
    return ToUtf16(text.c_str());
}

void ThrowConversionError(u32 errorCode, bool toUtf8)
{
    const char* reason = nullptr;
    switch (errorCode) {
    case ERROR_INVALID_PARAMETER: reason = "invalid parameter"; break;
    case ERROR_INSUFFICIENT_BUFFER: reason = "insufficient buffer"; break;
    case ERROR_INVALID_FLAGS: reason = "invalid flags"; break;
    case ERROR_NO_UNICODE_TRANSLATION: reason = "invalid codepoints"; break;
    default: throw "cannot convert UTF-16 string to UTF-8";
    }
    std::snprintf(conversionErrorText, sizeof conversionErrorText, "%s for %s conversion", reason,
                  toUtf8 ? "UTF-16 to UTF-8" : "UTF-8 to UTF-16");
    throw static_cast<const char*>(conversionErrorText);
}

void TrimInPlace(char* text)
{
    if (!text)
        return;
    size_t length = std::strlen(text);
    while (length > 0 && IsBlankByte(text[length - 1]))
        text[--length] = '\0';
    size_t start = 0;
    while (start < length && IsBlankByte(text[start]))
        ++start;
    if (start > 0)
        std::memmove(text, text + start, length - start + 1);
}

void Trim(std::string& text)
{
    size_t start = 0;
    while (start < text.size() && IsBlankByte(text[start]))
        ++start;
    std::string copy = text.substr(start);
    while (!copy.empty() && IsBlankByte(copy.back()))
        copy.pop_back();
    text = copy;
}

std::wstring Trim(const std::wstring& text)
{
    size_t start = 0;
    size_t end = text.size();
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

std::vector<std::wstring> SplitAtBar(const std::wstring& text)
{
    std::vector<std::wstring> pieces;
    size_t position = 0;
    while (position < text.size()) {
        const size_t start = text.find_first_not_of(L'|', position);
        if (start == std::wstring::npos)
            break;
        const size_t end = text.find(L'|', start);
        pieces.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        position = end == std::wstring::npos ? text.size() : end;
    }
    return pieces;
}

std::wstring FormatNumber(double value)
{
    wchar_t format[16];
    std::swprintf(format, 16, L"%%.%df", 3);
    // Magnitudes whose fixed-point text would not fit are cut to the 49 characters.
    wchar_t text[50];
    if (std::swprintf(text, 50, format, value) < 0)
        text[49] = L'\0';
    std::wstring result(text);
    if (result.find(L'.') != std::wstring::npos) {
        while (!result.empty() && result.back() == L'0')
            result.pop_back();
        if (!result.empty() && result.back() == L'.')
            result.pop_back();
    }
    if (result == L"-0")
        result = L"0";
    return result;
}

}  // namespace tevrin
