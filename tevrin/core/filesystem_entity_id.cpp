#include "tevrin/core/filesystem_entity_id.h"

#include "tevrin/core/exception.h"
#include "tevrin/core/text.h"

#include <windows.h>

#include <cstring>

namespace tevrin {

filesystem_entity_id::filesystem_entity_id(const char* utf8Path)
{
    const size_t length = utf8Path ? std::strlen(utf8Path) : 0;
    if (length >= capacity)
        throw length_error();
    std::memcpy(text_, utf8Path ? utf8Path : "", length + 1);
    Normalise();
}

filesystem_entity_id::filesystem_entity_id(const wchar_t* widePath)
{
    text_[0] = '\0';
    if (widePath && *widePath) {
        // A path that does not fit is reported like any other failed conversion.
        if (WideCharToMultiByte(CP_UTF8, 0, widePath, -1, text_, capacity, nullptr, nullptr) == 0)
            ThrowConversionError(GetLastError(), true);
    }
    Normalise();
}

size_t filesystem_entity_id::size() const noexcept
{
    return std::strlen(text_);
}

void filesystem_entity_id::Normalise() noexcept
{
    TrimInPlace(text_);
    const size_t length = std::strlen(text_);
    if (length > 0 && (text_[length - 1] == '\\' || text_[length - 1] == '/'))
        text_[length - 1] = '\0';
}

}  // namespace tevrin
