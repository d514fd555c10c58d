#include "tevrin/ui/clipboard.h"

namespace tevrin {

const char* clipboard_error::what() const noexcept
{
    switch (failed_) {
    case step::open: return "the clipboard could not be opened (another program may be holding it)";
    case step::empty: return "the clipboard could not be emptied";
    case step::allocate: return "there was not enough memory for the text";
    case step::lock: return "the memory for the text could not be locked";
    case step::set: return "the clipboard did not accept the text";
    }
    return "the clipboard failed";
}

clipboard::clipboard(HWND owner, UINT format) : owner_(owner), format_(format)
{
    if (!OpenClipboard(owner_))
        throw clipboard_error(clipboard_error::step::open);
    if (!EmptyClipboard()) {
        // The destructor does not run for a constructor that throws.
        CloseClipboard();
        throw clipboard_error(clipboard_error::step::empty);
    }
    opened_ = true;
}

clipboard::~clipboard()
{
    if (locked_)
        GlobalUnlock(memory_);
    if (ownsMemory_ && memory_)
        GlobalFree(memory_);
    if (opened_)
        CloseClipboard();
}

void* clipboard::allocate(size_t bytes)
{
    memory_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!memory_)
        throw clipboard_error(clipboard_error::step::allocate);
    ownsMemory_ = true;
    locked_ = GlobalLock(memory_);
    if (!locked_)
        throw clipboard_error(clipboard_error::step::lock);
    return locked_;
}

void clipboard::set_data()
{
    GlobalUnlock(memory_);
    locked_ = nullptr;
    if (!SetClipboardData(format_, memory_))
        throw clipboard_error(clipboard_error::step::set);
    ownsMemory_ = false;
}

}  // namespace tevrin
