#pragma once
// tevrin::clipboard: puts one block of data on the Windows clipboard, step by step,
// and undoes whatever a failed step leaves behind.
#include "tevrin/core/exception.h"

#include <windows.h>

#include <cstddef>

namespace tevrin {

// Which step of a clipboard transfer failed, with a text a user understands.
class clipboard_error : public exception {
public:
    enum class step { open = 0, empty = 1, allocate = 2, set = 3, lock = 5 };

    explicit clipboard_error(step failed) noexcept : failed_(failed) {}
    step failed_step() const noexcept { return failed_; }
    const char* what() const noexcept override;

private:
    step failed_;
};

class clipboard {
public:
    // Opens and empties the clipboard for the owner window (may be null).
    clipboard(HWND owner, UINT format);
    ~clipboard();
    clipboard(const clipboard&) = delete;
    clipboard& operator=(const clipboard&) = delete;

    // Movable, zero-filled memory of the given size, locked for writing.
    void* allocate(size_t bytes);
    // Unlocks the memory and hands it to the clipboard, which then owns it.
    void set_data();

private:
    HWND owner_;
    UINT format_;
    HGLOBAL memory_ = nullptr;
    void* locked_ = nullptr;
    bool ownsMemory_ = false;
    bool opened_ = false;
};

}  // namespace tevrin
