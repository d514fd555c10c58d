#pragma once
// A push button; pressing it sends its id as a command to the parent window.
#include "tevrin/ui/control.h"

namespace tevrin {

class Button : public Control {
public:
    virtual void Create(int id, int width, int height, Window* parent);
};

}  // namespace tevrin
