#pragma once
// A created GDI font, and the three fonts the whole process shares.
#include "tevrin/core/types.h"
#include "tevrin/core/windows_handles.h"

#include <windows.h>

#include <string>

namespace tevrin {

class Font {
public:
    // Throws "can't create font" when the platform refuses the font.
    Font(const wchar_t* face, u32 points, bool bold);
    // The same at a window's own DPI, which can differ from the system's.
    Font(const wchar_t* face, u32 points, bool bold, int dotsPerInch);
    virtual ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HFONT GetHandle() const { return handle.get(); }
    const std::wstring& GetFaceName() const { return faceName; }
    u32 GetPointSize() const { return pointSize; }
    bool IsBold() const { return bold; }
    bool IsItalic() const { return italic; }

private:
    std::wstring faceName;
    u32 pointSize;
    bool bold;
    bool italic = false;
    unique_font handle;
};

// Built during static initialisation, so they exist before any window does.
const Font& InterfaceFont();  // "Segoe UI" 9 pt: labels and buttons
const Font& HeadingFont();    // "Segoe UI" 11 pt bold
const Font& LogFont();        // "Lucida Console" 9 pt: the log pane

}  // namespace tevrin
