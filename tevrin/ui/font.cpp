#include "tevrin/ui/font.h"

namespace tevrin {
namespace {

int ScreenDotsPerInchVertically()
{
    return GetDeviceCaps(acquire_window_dc(nullptr).get(), LOGPIXELSY);
}

// Namespace-scope objects rather than function statics: the fonts must be made
// before the entry point, where a failure still ends the process cleanly.
const Font interfaceFont(L"Segoe UI", 9, false);
const Font headingFont(L"Segoe UI", 11, true);
const Font logFont(L"Lucida Console", 9, false);

}  // namespace

Font::Font(const wchar_t* face, u32 points, bool isBold) : Font(face, points, isBold, ScreenDotsPerInchVertically())
{
}

Font::Font(const wchar_t* face, u32 points, bool isBold, int dotsPerInch)
    : faceName(face ? face : L""), pointSize(points), bold(isBold)
{
    LOGFONTW description = {};
    description.lfHeight = -MulDiv(static_cast<int>(points), dotsPerInch, 72);
    description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = 0;
    faceName.copy(description.lfFaceName, LF_FACESIZE - 1);
    handle.reset(CreateFontIndirectW(&description));
    if (!handle)
        throw "can't create font";
}

Font::~Font() = default;

const Font& InterfaceFont()
{
    return interfaceFont;
}

const Font& HeadingFont()
{
    return headingFont;
}

const Font& LogFont()
{
    return logFont;
}

}  // namespace tevrin
