#include "controls/Layout.h"

#include "ui/Window.h"
#include "zrstd/Trace.h"

namespace layout {

namespace {

std::int32_t& EdgeOf(RECT& rect, Edge edge)
{
    switch (edge) {
    case kLeft: return rect.left;
    case kTop: return rect.top;
    case kRight: return rect.right;
    default: return rect.bottom;
    }
}

}  // namespace

void Apply(HWND dialog, const std::vector<Entry>& entries)
{
    const RECT dialogRect = GetWindowRect(dialog);
    const RECT client{0, 0, dialogRect.Width(), dialogRect.Height()};
    for (const Entry& entry : entries) {
        if (entry.type == kEnd) break;
        RECT reference = client;
        if (entry.reference != kDialog) {
            HWND referenceControl = GetDlgItem(dialog, entry.reference);
            if (!referenceControl) {
                ZRSTD::Trace(1, L"Layout couldn't find %s of id=%d", L"reference", entry.reference);
                continue;
            }
            reference = GetWindowRect(referenceControl);
        }
        std::int32_t position = 0;
        if (entry.type == kPercent) {
            const bool horizontal = entry.edge == kLeft || entry.edge == kRight;
            const std::int32_t start = horizontal ? reference.left : reference.top;
            const std::int32_t size = horizontal ? reference.Width() : reference.Height();
            position = start + size * entry.percent / 100;
        } else {
            position = EdgeOf(reference, entry.referenceEdge);
        }
        position += entry.offset;
        const int last = entry.lastId ? entry.lastId : entry.firstId;
        for (int id = entry.firstId; id <= last; ++id) {
            HWND control = GetDlgItem(dialog, id);
            if (!control) {
                if (!entry.lastId) ZRSTD::Trace(1, L"Layout couldn't find %s of id=%d", L"control", id);
                continue;  // ranges may have gaps
            }
            RECT rect = GetWindowRect(control);
            // moving one edge keeps the control's size when the opposite edge is not anchored too
            std::int32_t& moved = EdgeOf(rect, entry.edge);
            moved = position;
            if (rect.right < rect.left) rect.right = rect.left;
            if (rect.bottom < rect.top) rect.bottom = rect.top;
            MoveWindow(control, rect);
        }
    }
}

}  // namespace layout
