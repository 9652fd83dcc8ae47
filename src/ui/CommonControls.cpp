#include "ui/CommonControls.h"

#include <algorithm>
#include <map>
#include <memory>
#include <numeric>
#include <tuple>
#include <utility>

#include "ui/Mouse.h"
#include "ui/UserActions.h"
#include "ui/Window.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace ui {

namespace {

// A private message: a user edited one field of an address.
constexpr UINT kIpFieldEdited = WM_USER + 0x200;

// ---- List view and its header ---------------------------------------------

struct Row {
    std::vector<std::wstring> texts;
    LPARAM data = 0;
    UINT state = 0;
    int image = -1;
};

struct ListState {
    std::vector<LVCOLUMNW> columns;
    std::vector<int> order;
    std::vector<int> headerFormats;
    std::vector<Row> rows;
    DWORD extended = 0;
    HWND header = nullptr;
};

void SetRowState(HWND list, ListState& state, int item, UINT value, UINT mask)
{
    Row& row = state.rows[static_cast<std::size_t>(item)];
    const UINT old = row.state;
    row.state = (row.state & ~mask) | (value & mask);
    if (row.state == old) return;
    NMLISTVIEW change;
    change.iItem = item;
    change.uNewState = row.state;
    change.uOldState = old;
    change.uChanged = LVIF_STATE;
    change.lParam = row.data;
    NotifyParent(list, change.hdr, LVN_ITEMCHANGED);
}

WindowProc HeaderProc(std::shared_ptr<ListState> state)
{
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto column = static_cast<std::size_t>(wParam);
        switch (message) {
        case HDM_GETITEMCOUNT: return static_cast<LRESULT>(state->columns.size());
        case HDM_GETITEMW:
            if (column >= state->headerFormats.size() || !lParam) return FALSE;
            reinterpret_cast<HDITEMW*>(lParam)->fmt = state->headerFormats[column];
            return TRUE;
        case HDM_SETITEMW:
            if (column >= state->headerFormats.size() || !lParam) return FALSE;
            state->headerFormats[column] = reinterpret_cast<const HDITEMW*>(lParam)->fmt;
            return TRUE;
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// Where a column starts, from the widths of the columns before it in display order.
int ColumnLeft(const ListState& state, int column)
{
    int x = 0;
    for (int shown : state.order) {
        if (shown == column) return x;
        x += state.columns[static_cast<std::size_t>(shown)].cx;
    }
    return x;
}

RECT CellRect(const ListState& state, int item, int column)
{
    const int left = ColumnLeft(state, column);
    const int top = kListHeaderHeight + item * kListRowHeight;
    return RECT{left, top, left + state.columns[static_cast<std::size_t>(column)].cx, top + kListRowHeight};
}

// Draws every cell in display order, asking the parent through NM_CUSTOMDRAW.
void PaintList(HWND window, const ListState& state, HDC dc)
{
    NMLVCUSTOMDRAW draw;
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = GetClientRect(window);
    const LRESULT listMode = NotifyParent(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
    const auto listFont = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    for (std::size_t row = 0; row < state.rows.size(); ++row) {
        LRESULT rowMode = CDRF_DODEFAULT;
        if (listMode & CDRF_NOTIFYITEMDRAW) {
            draw = NMLVCUSTOMDRAW{};
            draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
            draw.nmcd.hdc = dc;
            draw.nmcd.dwItemSpec = row;
            draw.nmcd.uItemState = state.rows[row].state;
            draw.nmcd.lItemlParam = state.rows[row].data;
            rowMode = NotifyParent(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
        }
        for (int column : state.order) {
            SelectObject(dc, listFont);
            SetTextColor(dc, 0);
            const RECT cell = CellRect(state, static_cast<int>(row), column);
            if (rowMode & CDRF_NOTIFYSUBITEMDRAW) {
                draw = NMLVCUSTOMDRAW{};
                draw.nmcd.dwDrawStage = CDDS_SUBITEM | CDDS_ITEMPREPAINT;
                draw.nmcd.hdc = dc;
                draw.nmcd.rc = cell;
                draw.nmcd.dwItemSpec = row;
                draw.nmcd.lItemlParam = state.rows[row].data;
                draw.iSubItem = column;
                const LRESULT cellMode = NotifyParent(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
                if (!(cellMode & CDRF_NEWFONT)) SelectObject(dc, listFont);
                if (draw.clrText != CLR_DEFAULT) SetTextColor(dc, draw.clrText);
            }
            const auto& texts = state.rows[row].texts;
            const std::size_t index = static_cast<std::size_t>(column);
            DrawTextW(dc, index < texts.size() ? texts[index] : L"", cell, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
        }
    }
    SelectObject(dc, nullptr);
}

WindowProc ListViewProc()
{
    auto state = std::make_shared<ListState>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto count = static_cast<int>(state->rows.size());
        const int index = static_cast<int>(static_cast<std::int32_t>(wParam));
        switch (message) {
        case WM_CREATE:
            state->header = CreateWindowExW(0, L"SysHeader32", L"", WS_CHILD | WS_VISIBLE, {}, window, 0);
            SetWindowProc(state->header, HeaderProc(state));
            return 0;
        case LVM_GETHEADER: return reinterpret_cast<LRESULT>(state->header);
        case LVM_INSERTCOLUMNW: {
            const auto at = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(state->columns.size())));
            state->columns.insert(state->columns.begin() + static_cast<std::ptrdiff_t>(at), *reinterpret_cast<const LVCOLUMNW*>(lParam));
            state->headerFormats.insert(state->headerFormats.begin() + static_cast<std::ptrdiff_t>(at), 0);
            state->order.resize(state->columns.size());
            std::iota(state->order.begin(), state->order.end(), 0);
            for (Row& row : state->rows) row.texts.resize(state->columns.size());
            return static_cast<LRESULT>(at);
        }
        case LVM_GETCOLUMNW: {
            auto* column = reinterpret_cast<LVCOLUMNW*>(lParam);
            if (!column || index < 0 || index >= static_cast<int>(state->columns.size())) return FALSE;
            *column = state->columns[static_cast<std::size_t>(index)];
            return TRUE;
        }
        case LVM_GETSUBITEMRECT: {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            if (!rect || index < 0 || index >= count || rect->top < 0 ||
                rect->top >= static_cast<int>(state->columns.size()))
                return FALSE;
            *rect = CellRect(*state, index, rect->top);
            return TRUE;
        }
        case LVM_SUBITEMHITTEST: {
            auto* hit = reinterpret_cast<LVHITTESTINFO*>(lParam);
            if (!hit) return -1;
            hit->iItem = hit->iSubItem = -1;
            hit->flags = LVHT_NOWHERE;
            const int row = hit->pt.y < kListHeaderHeight ? -1 : (hit->pt.y - kListHeaderHeight) / kListRowHeight;
            if (row < 0 || row >= count) return -1;
            for (int column = 0; column < static_cast<int>(state->columns.size()); ++column) {
                const RECT cell = CellRect(*state, row, column);
                if (hit->pt.x >= cell.left && hit->pt.x < cell.right) {
                    hit->iItem = row;
                    hit->iSubItem = column;
                    hit->flags = LVHT_ONITEMLABEL;
                    return row;
                }
            }
            return -1;
        }
        case WM_PAINT: PaintList(window, *state, reinterpret_cast<HDC>(wParam)); return 0;
        case LVM_GETCOLUMNWIDTH:
            return index >= 0 && index < static_cast<int>(state->columns.size()) ? state->columns[static_cast<std::size_t>(index)].cx : 0;
        case LVM_SETCOLUMNWIDTH:
            if (index < 0 || index >= static_cast<int>(state->columns.size())) return FALSE;
            state->columns[static_cast<std::size_t>(index)].cx = static_cast<int>(lParam);
            return TRUE;
        case LVM_GETCOLUMNORDERARRAY: {
            auto* out = reinterpret_cast<int*>(lParam);
            if (!out || static_cast<std::size_t>(wParam) != state->order.size()) return FALSE;
            std::copy(state->order.begin(), state->order.end(), out);
            return TRUE;
        }
        case LVM_SETCOLUMNORDERARRAY: {
            const auto* in = reinterpret_cast<const int*>(lParam);
            if (!in || static_cast<std::size_t>(wParam) != state->order.size()) return FALSE;
            std::vector<int> order(in, in + wParam);
            std::vector<int> sorted = order;
            std::sort(sorted.begin(), sorted.end());
            for (std::size_t i = 0; i < sorted.size(); ++i)
                if (sorted[i] != static_cast<int>(i)) return FALSE;  // a permutation of the columns only
            state->order = std::move(order);
            return TRUE;
        }
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            const DWORD old = state->extended;
            const DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFF;
            state->extended = (state->extended & ~mask) | (static_cast<DWORD>(lParam) & mask);
            if ((state->extended & LVS_EX_CHECKBOXES) && !(old & LVS_EX_CHECKBOXES))
                for (Row& row : state->rows) row.state = (row.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(1);
            return static_cast<LRESULT>(old);
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE: return static_cast<LRESULT>(state->extended);
        case LVM_GETITEMCOUNT: return count;
        case LVM_INSERTITEMW: {
            const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
            const int at = std::clamp(item->iItem, 0, count);
            Row row;
            row.texts.resize(std::max<std::size_t>(state->columns.size(), 1));
            row.texts[0] = item->text;
            if (item->mask & LVIF_PARAM) row.data = item->lParam;
            if (item->mask & LVIF_IMAGE) row.image = item->iImage;
            if (state->extended & LVS_EX_CHECKBOXES) row.state = INDEXTOSTATEIMAGEMASK(1);
            state->rows.insert(state->rows.begin() + at, std::move(row));
            return at;
        }
        case LVM_DELETEITEM:
            if (index < 0 || index >= count) return FALSE;
            state->rows.erase(state->rows.begin() + index);
            return TRUE;
        case LVM_DELETEALLITEMS: state->rows.clear(); return TRUE;
        case LVM_SETITEMTEXTW: {
            const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
            if (index < 0 || index >= count || item->iSubItem < 0) return FALSE;
            Row& row = state->rows[static_cast<std::size_t>(index)];
            if (static_cast<std::size_t>(item->iSubItem) >= row.texts.size()) row.texts.resize(static_cast<std::size_t>(item->iSubItem) + 1);
            row.texts[static_cast<std::size_t>(item->iSubItem)] = item->text;
            return TRUE;
        }
        case LVM_GETITEMTEXTW: {
            auto* item = reinterpret_cast<LVITEMW*>(lParam);
            if (index < 0 || index >= count || item->iSubItem < 0) return 0;
            const Row& row = state->rows[static_cast<std::size_t>(index)];
            item->text = static_cast<std::size_t>(item->iSubItem) < row.texts.size() ? row.texts[static_cast<std::size_t>(item->iSubItem)] : L"";
            return static_cast<LRESULT>(item->text.size());
        }
        case LVM_GETITEMW: {
            auto* item = reinterpret_cast<LVITEMW*>(lParam);
            if (item->iItem < 0 || item->iItem >= count) return FALSE;
            const Row& row = state->rows[static_cast<std::size_t>(item->iItem)];
            item->lParam = row.data;
            item->iImage = row.image;
            item->state = row.state & (item->stateMask ? item->stateMask : 0xFFFFFFFF);
            item->text = row.texts.empty() ? L"" : row.texts[0];
            return TRUE;
        }
        case LVM_SETITEMW: {
            const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
            if (item->iItem < 0 || item->iItem >= count) return FALSE;
            if (item->mask & LVIF_PARAM) state->rows[static_cast<std::size_t>(item->iItem)].data = item->lParam;
            if (item->mask & LVIF_IMAGE) state->rows[static_cast<std::size_t>(item->iItem)].image = item->iImage;
            if (item->mask & LVIF_STATE) SetRowState(window, *state, item->iItem, item->state, item->stateMask);
            return TRUE;
        }
        case LVM_SETITEMSTATE: {
            const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
            if (index == -1) {
                for (int i = 0; i < count; ++i) SetRowState(window, *state, i, item->state, item->stateMask);
                return TRUE;
            }
            if (index < 0 || index >= count) return FALSE;
            SetRowState(window, *state, index, item->state, item->stateMask);
            return TRUE;
        }
        case LVM_GETITEMSTATE:
            return index >= 0 && index < count ? static_cast<LRESULT>(state->rows[static_cast<std::size_t>(index)].state & static_cast<UINT>(lParam)) : 0;
        case LVM_GETNEXTITEM: {
            for (int i = index + 1; i < count; ++i)
                if (lParam == LVNI_ALL || (state->rows[static_cast<std::size_t>(i)].state & LVIS_SELECTED)) return i;
            return -1;
        }
        case LVM_SORTITEMS: {
            const auto* sort = reinterpret_cast<const ListSort*>(lParam);
            if (!sort || !sort->compare) return FALSE;
            std::stable_sort(state->rows.begin(), state->rows.end(), [sort](const Row& a, const Row& b) {
                return sort->compare(a.data, b.data, sort->context) < 0;
            });
            return TRUE;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- Up-down --------------------------------------------------------------

WindowProc UpDownProc()
{
    struct State {
        int low = 0, high = 100, position = 0;
        HWND buddy = nullptr;
    };
    auto state = std::make_shared<State>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        switch (message) {
        case UDM_SETRANGE32:
            state->low = static_cast<int>(static_cast<std::int32_t>(wParam));
            state->high = static_cast<int>(lParam);
            return 0;
        case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(state->buddy);
        case UDM_GETRANGE32:
            if (wParam) *reinterpret_cast<int*>(wParam) = state->low;
            if (lParam) *reinterpret_cast<int*>(lParam) = state->high;
            return 0;
        case UDM_SETPOS32: {
            const int old = state->position;
            state->position = std::clamp(static_cast<int>(lParam), std::min(state->low, state->high), std::max(state->low, state->high));
            return old;
        }
        case UDM_GETPOS32: {
            // the buddy's text is the position, when it holds a number
            if (state->buddy) {
                const std::wstring text = GetWindowTextW(state->buddy);
                if (!text.empty() && text.find_first_not_of(L"-0123456789") == std::wstring::npos) {
                    try {
                        state->position = std::clamp(std::stoi(text), std::min(state->low, state->high), std::max(state->low, state->high));
                    } catch (const std::exception&) {
                    }
                }
            }
            return state->position;
        }
        case UDM_SETBUDDY: {
            const HWND old = state->buddy;
            state->buddy = reinterpret_cast<HWND>(wParam);
            return reinterpret_cast<LRESULT>(old);
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- IP address -------------------------------------------------------------

WindowProc IpAddressProc()
{
    struct State {
        int fields[4] = {-1, -1, -1, -1};  // -1: blank
    };
    auto state = std::make_shared<State>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        switch (message) {
        case IPM_CLEARADDRESS: std::fill(std::begin(state->fields), std::end(state->fields), -1); return 0;
        case IPM_SETADDRESS: {
            const auto address = static_cast<DWORD>(lParam);
            for (int i = 0; i < 4; ++i) state->fields[i] = static_cast<int>((address >> (8 * (3 - i))) & 0xFF);
            return TRUE;
        }
        case IPM_GETADDRESS: {
            DWORD address = 0;
            int filled = 0;
            for (int i = 0; i < 4; ++i) {
                if (state->fields[i] >= 0) ++filled;
                address |= static_cast<DWORD>(std::max(state->fields[i], 0)) << (8 * (3 - i));
            }
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = address;
            return filled;
        }
        case IPM_ISBLANK:
            return std::all_of(std::begin(state->fields), std::end(state->fields), [](int f) { return f < 0; });
        case kIpFieldEdited: {  // a user's field edit: wParam the field, lParam the value (-1 blank)
            if (wParam > 3) return FALSE;
            state->fields[wParam] = static_cast<int>(lParam);
            return TRUE;
        }
        case WM_GETTEXTLENGTH:
        case WM_GETTEXT: {
            std::wstring text;
            for (int i = 0; i < 4; ++i) {
                if (i) text += L".";
                if (state->fields[i] >= 0) text += std::to_wstring(state->fields[i]);
            }
            if (std::all_of(std::begin(state->fields), std::end(state->fields), [](int f) { return f < 0; })) text.clear();
            DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- Date-time picker ------------------------------------------------------

bool Before(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return std::tie(a.wYear, a.wMonth, a.wDay, a.wHour, a.wMinute, a.wSecond) <
           std::tie(b.wYear, b.wMonth, b.wDay, b.wHour, b.wMinute, b.wSecond);
}

WindowProc DateTimeProc()
{
    struct State {
        SYSTEMTIME time{2000, 1, 6, 1, 0, 0, 0, 0};
        bool hasRange = false;
        SYSTEMTIME low, high;
    };
    auto state = std::make_shared<State>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        switch (message) {
        case DTM_GETSYSTEMTIME:
            if (lParam) *reinterpret_cast<SYSTEMTIME*>(lParam) = state->time;
            return 0;
        case DTM_SETSYSTEMTIME: {
            const auto* time = reinterpret_cast<const SYSTEMTIME*>(lParam);
            if (!time) return FALSE;
            if (state->hasRange && (Before(*time, state->low) || Before(state->high, *time))) return FALSE;
            state->time = *time;
            return TRUE;
        }
        case DTM_SETRANGE: {
            const auto* range = reinterpret_cast<const SYSTEMTIME*>(lParam);
            if (!range) return FALSE;
            state->hasRange = true;
            state->low = range[0];
            state->high = range[1];
            return TRUE;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- Tooltip --------------------------------------------------------------

struct TooltipState {
    bool active = true;
    std::vector<TOOLINFOW> tools;
    int delays[4] = {0, 0, 0, 0};
};

std::map<HWND, std::shared_ptr<TooltipState>>& Tooltips()
{
    static auto* tooltips = new std::map<HWND, std::shared_ptr<TooltipState>>;
    return *tooltips;
}

bool SameTool(const TOOLINFOW& a, const TOOLINFOW& b) { return a.hwnd == b.hwnd && a.uId == b.uId; }

WindowProc TooltipProc()
{
    auto state = std::make_shared<TooltipState>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        auto* tool = reinterpret_cast<TOOLINFOW*>(lParam);
        auto find = [&]() -> TOOLINFOW* {
            if (!tool) return nullptr;
            const auto found = std::find_if(state->tools.begin(), state->tools.end(),
                                            [&](const TOOLINFOW& t) { return SameTool(t, *tool); });
            return found == state->tools.end() ? nullptr : &*found;
        };
        switch (message) {
        case WM_CREATE: Tooltips()[window] = state; return 0;
        case WM_DESTROY: Tooltips().erase(window); return 0;
        case TTM_ACTIVATE: state->active = wParam != 0; return 0;
        case TTM_SETDELAYTIME:
            if (wParam == TTDT_AUTOMATIC) {
                state->delays[TTDT_INITIAL] = static_cast<int>(LOWORD(static_cast<std::uintptr_t>(lParam)));
            } else if (wParam < 4) {
                state->delays[wParam] = static_cast<int>(LOWORD(static_cast<std::uintptr_t>(lParam)));
            }
            return 0;
        case TTM_GETDELAYTIME: return wParam < 4 ? state->delays[wParam] : 0;
        case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(state->tools.size());
        case TTM_ADDTOOLW:
            if (!tool) return FALSE;
            if (TOOLINFOW* existing = find()) *existing = *tool;
            else state->tools.push_back(*tool);
            return TRUE;
        case TTM_DELTOOLW:
            if (tool) std::erase_if(state->tools, [&](const TOOLINFOW& t) { return SameTool(t, *tool); });
            return 0;
        case TTM_UPDATETIPTEXTW:
            if (TOOLINFOW* existing = find()) existing->text = tool->text;
            return 0;
        case TTM_GETTEXTW:
            if (TOOLINFOW* existing = find()) tool->text = existing->text;
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

// ---- Extended combo box ------------------------------------------------------

struct ComboExItem {
    std::wstring text;
    int image = -1, selectedImage = -1, overlay = -1, indent = 0;
    LPARAM data = 0;
};

WindowProc ComboBoxExProc()
{
    struct State {
        std::vector<ComboExItem> items;
        LRESULT selection = -1;
        HIMAGELIST images = nullptr;
        int fieldHeight = 16;
        int itemHeight = 16;
    };
    auto state = std::make_shared<State>();
    return [state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto index = static_cast<std::intptr_t>(static_cast<std::int32_t>(wParam));
        const auto count = static_cast<std::intptr_t>(state->items.size());
        const bool valid = index >= 0 && index < count;
        auto item = [&]() -> ComboExItem& { return state->items[static_cast<std::size_t>(index)]; };
        auto apply = [](ComboExItem& target, const COMBOBOXEXITEMW& source) {
            if (source.mask & CBEIF_TEXT) target.text = source.text;
            if (source.mask & CBEIF_IMAGE) target.image = source.iImage;
            if (source.mask & CBEIF_SELECTEDIMAGE) target.selectedImage = source.iSelectedImage;
            if (source.mask & CBEIF_OVERLAY) target.overlay = source.iOverlay;
            if (source.mask & CBEIF_INDENT) target.indent = source.iIndent;
            if (source.mask & CBEIF_LPARAM) target.data = source.lParam;
        };
        switch (message) {
        case CBEM_INSERTITEMW: {
            const auto* source = reinterpret_cast<const COMBOBOXEXITEMW*>(lParam);
            if (!source) return CB_ERR;
            const auto at = source->iItem < 0 || source->iItem > count ? count : source->iItem;
            ComboExItem inserted;
            apply(inserted, *source);
            state->items.insert(state->items.begin() + at, std::move(inserted));
            if (state->selection >= at) ++state->selection;
            return at;
        }
        case CBEM_SETITEMW: {
            const auto* source = reinterpret_cast<const COMBOBOXEXITEMW*>(lParam);
            if (!source || source->iItem < 0 || source->iItem >= count) return FALSE;
            apply(state->items[static_cast<std::size_t>(source->iItem)], *source);
            return TRUE;
        }
        case CBEM_GETITEMW: {
            auto* target = reinterpret_cast<COMBOBOXEXITEMW*>(lParam);
            if (!target || target->iItem < 0 || target->iItem >= count) return FALSE;
            const ComboExItem& source = state->items[static_cast<std::size_t>(target->iItem)];
            if (target->mask & CBEIF_TEXT) target->text = source.text;
            if (target->mask & CBEIF_IMAGE) target->iImage = source.image;
            if (target->mask & CBEIF_SELECTEDIMAGE) target->iSelectedImage = source.selectedImage;
            if (target->mask & CBEIF_OVERLAY) target->iOverlay = source.overlay;
            if (target->mask & CBEIF_INDENT) target->iIndent = source.indent;
            if (target->mask & CBEIF_LPARAM) target->lParam = source.data;
            return TRUE;
        }
        case CBEM_SETIMAGELIST:
            return reinterpret_cast<LRESULT>(std::exchange(state->images, reinterpret_cast<HIMAGELIST>(lParam)));
        case CBEM_GETIMAGELIST: return reinterpret_cast<LRESULT>(state->images);
        case CB_GETCOUNT: return count;
        case CB_GETCURSEL: return state->selection;
        case CB_SETCURSEL: state->selection = valid ? index : -1; return state->selection;
        case CB_GETITEMDATA: return valid ? item().data : CB_ERR;
        case CB_SETITEMDATA:
            if (!valid) return CB_ERR;
            item().data = lParam;
            return 0;
        case CB_GETLBTEXT:
            if (!valid) return CB_ERR;
            if (lParam) *reinterpret_cast<std::wstring*>(lParam) = item().text;
            return static_cast<LRESULT>(item().text.size());
        case CB_GETLBTEXTLEN: return valid ? static_cast<LRESULT>(item().text.size()) : CB_ERR;
        case CB_DELETESTRING:
            if (!valid) return CB_ERR;
            state->items.erase(state->items.begin() + index);
            if (state->selection == index) state->selection = -1;
            else if (state->selection > index) --state->selection;
            return count - 1;
        case CB_RESETCONTENT:
            state->items.clear();
            state->selection = -1;
            return 0;
        case CB_FINDSTRINGEXACT: {
            const std::wstring wanted = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            for (std::size_t i = 0; i < state->items.size(); ++i)
                if (state->items[i].text == wanted) return static_cast<LRESULT>(i);
            return CB_ERR;
        }
        case CB_SETITEMHEIGHT:
            if (lParam <= 0) return CB_ERR;
            (index == -1 ? state->fieldHeight : state->itemHeight) = static_cast<int>(lParam);
            return 0;
        case CB_GETITEMHEIGHT: return index == -1 ? state->fieldHeight : state->itemHeight;
        case WM_GETTEXTLENGTH:
        case WM_GETTEXT: {
            const std::wstring shown =
                state->selection >= 0 ? state->items[static_cast<std::size_t>(state->selection)].text : std::wstring();
            DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
            return DefWindowProcW(window, message, wParam, lParam);
        }
        case WM_PAINT: {
            // the selection field: the item's image, then its text
            if (state->selection < 0) return 0;
            const auto dc = reinterpret_cast<HDC>(wParam);
            const ComboExItem& shown = state->items[static_cast<std::size_t>(state->selection)];
            int x = 2 + shown.indent * 10;
            int width = 0, height = 0;
            if (shown.image >= 0 && ImageList_GetIconSize(state->images, width, height)) {
                ImageList_Draw(state->images, shown.image, dc, x, (state->fieldHeight - height) / 2, ILD_TRANSPARENT);
                x += width + 4;
            }
            const HFONT previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
            if (!IsWindowEnabled(window)) SetTextColor(dc, 0x808080);
            DrawTextW(dc, shown.text, RECT{x, 0, GetClientRect(window).right, state->fieldHeight},
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, previous);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
    };
}

void Require(HWND control, const wchar_t* className)
{
    if (!IsWindow(control) || GetClassName(control) != className) throw ActionRefused("the control is not of the kind this action needs");
    if (!IsWindowVisible(control) || !IsWindowEnabled(control))
        throw ActionRefused("the control " + std::to_string(GetDlgCtrlID(control)) + " is hidden or disabled");
}

int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

void RequireRow(HWND list, int item)
{
    if (item < 0 || item >= RowCount(list)) throw ActionRefused("the list has no row " + std::to_string(item));
}

}  // namespace

void RegisterCommonControls()
{
    RegisterWindowClass(L"SysListView32", ListViewProc);
    RegisterWindowClass(L"SysHeader32", [] { return WindowProc(DefWindowProcW); });
    RegisterWindowClass(L"msctls_updown32", UpDownProc);
    RegisterWindowClass(L"SysIPAddress32", IpAddressProc);
    RegisterWindowClass(L"SysDateTimePick32", DateTimeProc);
    RegisterWindowClass(L"tooltips_class32", TooltipProc);
    RegisterWindowClass(L"ComboBoxEx32", ComboBoxExProc);
}

std::wstring TooltipTextFor(HWND control)
{
    for (const auto& [window, state] : Tooltips()) {
        if (!state->active || !IsWindow(window)) continue;
        for (const TOOLINFOW& tool : state->tools) {
            const bool matches = (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) == control : tool.hwnd == control;
            if (matches && !tool.text.empty()) return tool.text;
        }
    }
    return {};
}

void HoverListCell(HWND list, int item, int subItem)
{
    Require(list, L"SysListView32");
    RequireRow(list, item);
    RECT cell;
    cell.top = subItem;
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)))
        throw ActionRefused("the list has no column " + std::to_string(subItem));
    MoveMouse(list, POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

void ClickListItem(HWND list, int item, int subItem)
{
    Require(list, L"SysListView32");
    RequireRow(list, item);
    SetFocus(list);
    LVITEMW clear;
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    for (int i = 0; i < RowCount(list); ++i)
        if (i != item) SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&clear));
    LVITEMW select;
    select.state = select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&select));
    NMLISTVIEW click;
    click.iItem = item;
    click.iSubItem = subItem;
    NotifyParent(list, click.hdr, NM_CLICK);
}

void DoubleClickListItem(HWND list, int item, int subItem)
{
    ClickListItem(list, item, subItem);
    NMLISTVIEW click;
    click.iItem = item;
    click.iSubItem = subItem;
    NotifyParent(list, click.hdr, NM_DBLCLK);
}

void ToggleListCheck(HWND list, int item)
{
    Require(list, L"SysListView32");
    RequireRow(list, item);
    if (!(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES))
        throw ActionRefused("the list has no check boxes");
    const auto image = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
    LVITEMW toggle;
    toggle.stateMask = LVIS_STATEIMAGEMASK;
    toggle.state = image == INDEXTOSTATEIMAGEMASK(2) ? INDEXTOSTATEIMAGEMASK(1) : INDEXTOSTATEIMAGEMASK(2);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&toggle));
}

void ClickListHeader(HWND list, int column)
{
    Require(list, L"SysListView32");
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (column < 0 || column >= static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)))
        throw ActionRefused("the list has no column " + std::to_string(column));
    NMLISTVIEW click;
    click.iSubItem = column;
    NotifyParent(list, click.hdr, LVN_COLUMNCLICK);
}

void ResizeListColumn(HWND list, int column, int width)
{
    Require(list, L"SysListView32");
    if (width < 0 || !SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width))
        throw ActionRefused("the list has no column " + std::to_string(column) + " to resize");
}

void MoveListColumn(HWND list, int column, int position)
{
    Require(list, L"SysListView32");
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    if (column < 0 || column >= count || position < 0 || position >= count)
        throw ActionRefused("the list has no column " + std::to_string(column) + " or place " + std::to_string(position));
    std::vector<int> order(static_cast<std::size_t>(count));
    SendMessageW(list, LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    std::erase(order, column);
    order.insert(order.begin() + position, column);
    SendMessageW(list, LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
}

std::wstring GetListRowText(HWND list, int item)
{
    LVITEMW cell;
    cell.iItem = item;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    return cell.text;
}

int FindListRow(HWND list, const std::wstring& text)
{
    for (int row = 0; row < RowCount(list); ++row)
        if (GetListRowText(list, row) == text) return row;
    return -1;
}

bool IsListRowChecked(HWND list, int item)
{
    const auto image = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
    return image == INDEXTOSTATEIMAGEMASK(2);
}

bool IsListRowSelected(HWND list, int item)
{
    return (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void SetListCheck(HWND list, int item, bool checked)
{
    Require(list, L"SysListView32");
    RequireRow(list, item);
    if (IsListRowChecked(list, item) != checked) ToggleListCheck(list, item);
}

void ListKeyPress(HWND list, WORD key)
{
    Require(list, L"SysListView32");
    SetFocus(list);
    NMLVKEYDOWN press;
    press.wVKey = key;
    NotifyParent(list, press.hdr, LVN_KEYDOWN);
}

void Spin(HWND upDown, int delta)
{
    Require(upDown, L"msctls_updown32");
    NMUPDOWN change;
    change.iPos = static_cast<int>(SendMessageW(upDown, UDM_GETPOS32, 0, 0));
    change.iDelta = delta;
    if (NotifyParent(upDown, change.hdr, UDN_DELTAPOS) != 0) return;  // the parent refused the step
    int low = 0, high = 0;
    SendMessageW(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    const int position = std::clamp(change.iPos + delta, std::min(low, high), std::max(low, high));
    SendMessageW(upDown, UDM_SETPOS32, 0, position);
    const HWND buddy = reinterpret_cast<HWND>(SendMessageW(upDown, UDM_GETBUDDY, 0, 0));
    if (buddy) SetWindowTextW(buddy, std::to_wstring(position));
}

void SetIpField(HWND address, int field, int value)
{
    Require(address, L"SysIPAddress32");
    if (field < 0 || field > 3 || value < -1 || value > 255)
        throw ActionRefused("an address field holds 0 to 255 (field " + std::to_string(field) + ")");
    SendMessageW(address, kIpFieldEdited, static_cast<WPARAM>(field), value);
    NMIPADDRESS change;
    change.iField = field;
    change.iValue = value;
    NotifyParent(address, change.hdr, IPN_FIELDCHANGED);
    NotifyParentCommand(address, EN_CHANGE);
}

void PickDateTime(HWND picker, const SYSTEMTIME& time)
{
    Require(picker, L"SysDateTimePick32");
    if (!SendMessageW(picker, DTM_SETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)))
        throw ActionRefused("the picker does not accept that date");
    NMDATETIMECHANGE change;
    change.st = time;
    NotifyParent(picker, change.nmhdr, DTN_DATETIMECHANGE);
}

}  // namespace ui
