#pragma once
// The process-wide command ids that are forwarded to a focused edit field. All 0
// until the first window is created; a cut id of 0 or less turns forwarding off.
namespace tevrin {

struct EditCommandIds {
    int cut = 0;
    int copy = 0;
    int paste = 0;
    int undo = 0;
};

EditCommandIds& ProcessEditCommandIds();

}  // namespace tevrin
