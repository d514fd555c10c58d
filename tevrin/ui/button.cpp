#include "tevrin/ui/button.h"

#include "tevrin/ui/tab_key_subclass.h"

namespace tevrin {

void Button::Create(int id, int width, int height, Window* parent)
{
    AdoptOrCreate(id, width, height, parent, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"");
    if (!handle)
        return;
    TabKeySubclass<Button>::Install(handle);
}

}  // namespace tevrin
