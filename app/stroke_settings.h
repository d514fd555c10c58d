#pragma once
// Settings shared by both drawing views; the main window owns the one record.

struct StrokeSettings {
    // Join pointer moves to the previous stamp with a walked line.
    bool interpolate = false;
};
