#include "tevrin/ui/label.h"

#include "tevrin/core/text.h"

#include <cwchar>

namespace tevrin {

void Label::Create(int id, int width, int height, const wchar_t* text, Window* parent, int alignment)
{
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (alignment == alignCenter)
        style |= SS_CENTER;
    else if (alignment == alignRight)
        style |= SS_RIGHT;
    AdoptOrCreate(id, width, height, parent, L"STATIC", style, text);
}

void Label::Create(int id, int width, int height, const char* utf8Text, Window* parent, int alignment)
{
    Create(id, width, height, ToUtf16(utf8Text).c_str(), parent, alignment);
}

void Label::SetText(const std::string& utf8Text)
{
    Control::SetText(ToUtf16(utf8Text).c_str());
}

void Label::SetNumber(double value)
{
    Control::SetText(FormatNumber(value).c_str());
}

void Label::SetNumber(int value)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    Control::SetText(text);
}

}  // namespace tevrin
