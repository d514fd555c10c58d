#pragma once
// A horizontal trackbar for values 0..1 in steps of 0.01. Moving it sends
// WM_HSCROLL to the parent, which reaches HandleControlScrollEvent.
#include "tevrin/ui/control.h"

namespace tevrin {

class Slider : public Control {
public:
    virtual void Create(int id, int width, int height, Window* parent);
    virtual void SetValue(float value);
    virtual float GetValue() const;
};

}  // namespace tevrin
