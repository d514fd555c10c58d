#include "tevrin/core/exception.h"

#include <cstdio>

namespace tevrin {

// Texts longer than the fixed buffers are cut; snprintf always terminates them.
enum_error::enum_error(int value) noexcept
{
    std::snprintf(text_, sizeof text_, "bad enum %d", value);
}

function_not_found::function_not_found(const char* functionName) noexcept
{
    std::snprintf(text_, sizeof text_, "function '%s' not found", functionName ? functionName : "");
}

}  // namespace tevrin
