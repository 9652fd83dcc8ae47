#pragma once

#include <vector>

#include "ui/Win32.h"

// Anchors the edges of a dialog's controls to the dialog or to other controls
// whenever it is resized. A table of entries ends with an entry of type kEnd.
namespace layout {

enum Edge { kLeft, kTop, kRight, kBottom };
enum Type { kAnchor = 1, kPercent = 2, kEnd = 4 };
inline constexpr int kDialog = 65536;  // the reference that is the dialog itself

struct Entry {
    int type = kEnd;
    int firstId = 0;
    int lastId = 0;  // 0: only firstId
    Edge edge = kLeft;
    int reference = kDialog;
    Edge referenceEdge = kLeft;  // kAnchor: the reference's edge
    int percent = 0;             // kPercent: the point at this share of the reference's size
    int offset = 0;              // pixels added
};

// Applies the entries in order; a control that does not exist is traced
// ("Layout couldn't find control of id=N") and skipped.
void Apply(HWND dialog, const std::vector<Entry>& entries);

}  // namespace layout
