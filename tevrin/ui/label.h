#pragma once
// A static text control. Labels take no focus and send nothing.
#include "tevrin/ui/control.h"

#include <string>

namespace tevrin {

class Label : public Control {
public:
    enum Alignment { alignLeft = 0, alignCenter = 1, alignRight = 2 };

    virtual void Create(int id, int width, int height, const wchar_t* text, Window* parent, int alignment);
    virtual void Create(int id, int width, int height, const char* utf8Text, Window* parent, int alignment);
    // Invalid UTF-8 is an error here, not replaced.
    virtual void SetText(const std::string& utf8Text);
    virtual void SetNumber(double value);
    virtual void SetNumber(int value);
    bool AcceptsFocus() const override { return false; }

    using Control::SetText;
};

}  // namespace tevrin
