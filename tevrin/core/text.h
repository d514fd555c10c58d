#pragma once
// UTF-8 <-> UTF-16 conversion for platform calls, and small text helpers.
// Conversion failures throw a const char* message.
#include "tevrin/core/types.h"

#include <string>
#include <vector>

namespace tevrin {

std::string ToUtf8(const std::wstring& text);
std::string ToUtf8(const wchar_t* text);
std::wstring ToUtf16(const std::string& text);
std::wstring ToUtf16(const char* text);

// Text in the ANSI code page (as drivers write theirs) as UTF-8; throws the
// conversion text when it does not convert.
std::string ansi_to_utf8(const std::string& ansi);

// Throws the message for a failed conversion; toUtf8 names the direction.
[[noreturn]] void ThrowConversionError(u32 errorCode, bool toUtf8);

// Blanks are the codes 1..32; bytes of 128 and above are never blank.
void TrimInPlace(char* text);
void Trim(std::string& text);
std::wstring Trim(const std::wstring& text);

// The pieces between runs of '|'; no empty pieces.
std::vector<std::wstring> SplitAtBar(const std::wstring& text);

// "%.3f" without trailing zeros or point; "-0" becomes "0".
std::wstring FormatNumber(double value);

}  // namespace tevrin
