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

// Whether a failure is kept. Until the program's own loop throws it, procedures leave
// their messages to the system's default handling: a modal loop of the system's that
// the failure happened in (a move, a menu) then runs to its end without them.
bool callback_failure_kept() noexcept;

// The body of a function the system calls back (a window, subclass, timer or hook
// procedure, an enumeration callback): its result, or after a failure, which is kept
// as above, fallback. While a failure is kept the body is not run at all.
template <typename Result, typename Body>
Result guard_callback(Result fallback, Body&& body) noexcept;

// The same for teardown that must happen whatever failed before (a window's destruction
// frees what the window owns): the body runs even while a failure is kept.
template <typename Result, typename Body>
Result guard_teardown_callback(Result fallback, Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        keep_callback_exception();
        return fallback;
    }
}

template <typename Result, typename Body>
Result guard_callback(Result fallback, Body&& body) noexcept
{
    return callback_failure_kept() ? fallback : guard_teardown_callback(fallback, body);
}

}  // namespace tevrin
