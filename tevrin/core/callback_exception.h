#pragma once
// Windows calls window procedures from inside its own functions (SetWindowPos sends
// WM_SIZE, UpdateWindow sends WM_PAINT, ...). On x64 Windows a C++ exception that
// unwinds through those system frames may be swallowed or end the process without
// the program's error box, so a window procedure keeps what it caught here and the
// message loop throws it again once control is back in the program's own frames.
#include <exception>

namespace tevrin {

// Keeps the exception being handled; call it only inside a catch clause. Only the
// first one is kept until it is thrown again: the error box shows one failure.
void keep_callback_exception() noexcept;

// Throws the kept exception, if any, and forgets it.
void rethrow_callback_exception();

}  // namespace tevrin
