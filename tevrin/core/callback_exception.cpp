#include "tevrin/core/callback_exception.h"

namespace tevrin {
namespace {

// Window procedures run on the thread that pumps their messages, and every window
// lives on the one user-interface thread, so one slot per thread is enough.
thread_local std::exception_ptr keptFailure;

}  // namespace

void keep_callback_exception() noexcept
{
    if (!keptFailure)
        keptFailure = std::current_exception();
}

bool callback_failure_kept() noexcept
{
    return static_cast<bool>(keptFailure);
}

void rethrow_callback_exception()
{
    if (!keptFailure)
        return;
    std::exception_ptr failure;
    failure.swap(keptFailure);
    std::rethrow_exception(failure);
}

}  // namespace tevrin
