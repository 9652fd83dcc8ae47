#include "ui/Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>
#include <variant>

#include "ui/Resources.h"
#include "ui/Window.h"

namespace {

struct FontObject {
    LOGFONTW font;
};
struct BitmapObject {
    SIZE size;
    UINT resourceId = 0;
};
struct IconObject {
    SIZE size;
    UINT resourceId = 0;
};
struct BrushObject {
    COLORREF colour = 0;
    bool hollow = false;
};
struct ImageListObject {
    ImageListInfo info;
};
using Object = std::variant<FontObject, BitmapObject, IconObject, BrushObject, ImageListObject>;

struct Canvas {
    std::vector<DrawOp> ops;
    COLORREF textColour = 0;
    int backgroundMode = OPAQUE;
    HFONT font = nullptr;
};

struct GraphicsState {
    std::map<std::uintptr_t, Object> objects;
    std::set<std::uintptr_t> stock;
    std::uintptr_t next = 0x1000;
    std::set<Canvas*> canvases;
    std::map<HWND, int> repaints;
    HFONT guiFont = nullptr;
    HBRUSH nullBrush = nullptr;
};

GraphicsState& State()
{
    static GraphicsState* state = new GraphicsState;
    return *state;
}

template <class Handle>
Handle NewObject(Object object)
{
    GraphicsState& state = State();
    const std::uintptr_t id = state.next++;
    state.objects.emplace(id, std::move(object));
    return reinterpret_cast<Handle>(id);
}

template <class T, class Handle>
T* Find(Handle handle)
{
    auto& objects = State().objects;
    const auto found = objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == objects.end() ? nullptr : std::get_if<T>(&found->second);
}

template <class T, class Handle>
bool Delete(Handle handle)
{
    GraphicsState& state = State();
    const auto id = reinterpret_cast<std::uintptr_t>(handle);
    if (!Find<T>(handle)) return false;
    if (state.stock.count(id)) return true;  // stock objects stay
    state.objects.erase(id);
    return true;
}

Canvas* CanvasOf(HDC dc)
{
    auto* canvas = reinterpret_cast<Canvas*>(dc);
    return State().canvases.count(canvas) ? canvas : nullptr;
}

std::uint32_t ReadLe32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

LOGFONTW FontOrDefault(HFONT font)
{
    LOGFONTW info;
    if (!GetFontInfo(font, info)) GetFontInfo(GetStockFont(DEFAULT_GUI_FONT), info);
    return info;
}

}  // namespace

HFONT CreateFontIndirectW(const LOGFONTW& font) { return NewObject<HFONT>(FontObject{font}); }

bool GetFontInfo(HFONT font, LOGFONTW& out)
{
    const FontObject* object = Find<FontObject>(font);
    if (!object) return false;
    out = object->font;
    return true;
}

bool IsFont(HFONT font) { return Find<FontObject>(font) != nullptr; }

HFONT GetStockFont(int which)
{
    GraphicsState& state = State();
    if (which != DEFAULT_GUI_FONT) return nullptr;
    if (!state.guiFont) {
        state.guiFont = CreateFontIndirectW(LOGFONTW{});
        state.stock.insert(reinterpret_cast<std::uintptr_t>(state.guiFont));
    }
    return state.guiFont;
}

HBRUSH GetStockBrush(int which)
{
    GraphicsState& state = State();
    if (which != NULL_BRUSH) return nullptr;
    if (!state.nullBrush) {
        state.nullBrush = NewObject<HBRUSH>(BrushObject{0, true});
        state.stock.insert(reinterpret_cast<std::uintptr_t>(state.nullBrush));
    }
    return state.nullBrush;
}

HBRUSH CreateSolidBrush(COLORREF colour) { return NewObject<HBRUSH>(BrushObject{colour, false}); }

bool DeleteObject(HFONT font) { return Delete<FontObject>(font); }
bool DeleteObject(HBITMAP bitmap) { return Delete<BitmapObject>(bitmap); }
bool DeleteObject(HBRUSH brush) { return Delete<BrushObject>(brush); }

HBITMAP LoadBitmapResource(UINT id)
{
    const std::vector<std::uint8_t>* bytes = ui::FindRawResource(L"BITMAP", id);
    if (!bytes || bytes->size() < 12) return nullptr;
    const auto width = static_cast<std::int32_t>(ReadLe32(*bytes, 4));
    const auto height = static_cast<std::int32_t>(ReadLe32(*bytes, 8));
    if (width <= 0 || height == 0) return nullptr;
    return NewObject<HBITMAP>(BitmapObject{SIZE{width, std::abs(height)}, id});
}

HBITMAP CreateBitmap(int width, int height)
{
    if (width <= 0 || height <= 0) return nullptr;
    return NewObject<HBITMAP>(BitmapObject{SIZE{width, height}, 0});
}

bool GetBitmapSize(HBITMAP bitmap, SIZE& size)
{
    const BitmapObject* object = Find<BitmapObject>(bitmap);
    if (!object) return false;
    size = object->size;
    return true;
}

HICON LoadIconResource(UINT id, int width, int height)
{
    if (!ui::FindRawResource(L"ICON", id) || width <= 0 || height <= 0) return nullptr;
    return NewObject<HICON>(IconObject{SIZE{width, height}, id});
}

bool DestroyIcon(HICON icon) { return Delete<IconObject>(icon); }
bool IsIcon(HICON icon) { return Find<IconObject>(icon) != nullptr; }

bool GetIconInfo(HICON icon, IconInfo& info)
{
    const IconObject* object = Find<IconObject>(icon);
    if (!object) return false;
    info = {object->resourceId, object->size};
    return true;
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int, int grow)
{
    if (width <= 0 || height <= 0) return nullptr;
    ImageListObject list;
    list.info.imageSize = SIZE{width, height};
    list.info.flags = flags;
    list.info.grow = grow;
    return NewObject<HIMAGELIST>(std::move(list));
}

bool ImageList_Destroy(HIMAGELIST list) { return Delete<ImageListObject>(list); }

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask)
{
    ImageListObject* object = Find<ImageListObject>(list);
    const BitmapObject* strip = Find<BitmapObject>(bitmap);
    if (!object || !strip) return -1;
    const int first = static_cast<int>(object->info.sources.size());
    const int count = std::max(1, strip->size.cx / object->info.imageSize.cx);
    object->info.sources.insert(object->info.sources.end(), static_cast<std::size_t>(count), strip->resourceId);
    object->info.mask = mask;
    return first;
}

int ImageList_AddIcon(HIMAGELIST list, HICON icon)
{
    ImageListObject* object = Find<ImageListObject>(list);
    const IconObject* image = Find<IconObject>(icon);
    if (!object || !image) return -1;
    object->info.sources.push_back(image->resourceId);
    return static_cast<int>(object->info.sources.size()) - 1;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    const ImageListObject* object = Find<ImageListObject>(list);
    return object ? static_cast<int>(object->info.sources.size()) : 0;
}

bool ImageList_GetIconSize(HIMAGELIST list, int& width, int& height)
{
    const ImageListObject* object = Find<ImageListObject>(list);
    if (!object) return false;
    width = object->info.imageSize.cx;
    height = object->info.imageSize.cy;
    return true;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT)
{
    const ImageListObject* object = Find<ImageListObject>(list);
    if (!object || index < 0 || index >= static_cast<int>(object->info.sources.size())) return nullptr;
    return NewObject<HICON>(IconObject{object->info.imageSize, object->info.sources[static_cast<std::size_t>(index)]});
}

bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
    const ImageListObject* object = Find<ImageListObject>(list);
    Canvas* canvas = CanvasOf(dc);
    if (!object || !canvas || index < 0 || index >= static_cast<int>(object->info.sources.size())) return false;
    DrawOp op;
    op.kind = DrawOp::Kind::Image;
    op.rect = RECT{x, y, x + object->info.imageSize.cx, y + object->info.imageSize.cy};
    op.image = index;
    op.state = style;
    op.resourceId = object->info.sources[static_cast<std::size_t>(index)];
    canvas->ops.push_back(std::move(op));
    return true;
}

bool GetImageListInfo(HIMAGELIST list, ImageListInfo& info)
{
    const ImageListObject* object = Find<ImageListObject>(list);
    if (!object) return false;
    info = object->info;
    return true;
}

COLORREF SetTextColor(HDC dc, COLORREF colour)
{
    Canvas* canvas = CanvasOf(dc);
    return canvas ? std::exchange(canvas->textColour, colour) : 0;
}

COLORREF GetTextColor(HDC dc)
{
    Canvas* canvas = CanvasOf(dc);
    return canvas ? canvas->textColour : 0;
}

int SetBkMode(HDC dc, int mode)
{
    Canvas* canvas = CanvasOf(dc);
    return canvas ? std::exchange(canvas->backgroundMode, mode) : 0;
}

HFONT SelectObject(HDC dc, HFONT font)
{
    Canvas* canvas = CanvasOf(dc);
    return canvas ? std::exchange(canvas->font, font) : nullptr;
}

HFONT GetCurrentFont(HDC dc)
{
    Canvas* canvas = CanvasOf(dc);
    return canvas ? canvas->font : nullptr;
}

int DrawTextW(HDC dc, std::wstring_view text, const RECT& rect, UINT)
{
    Canvas* canvas = CanvasOf(dc);
    if (!canvas) return 0;
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.rect = rect;
    op.text = text;
    op.colour = canvas->textColour;
    op.font = FontOrDefault(canvas->font);
    op.transparent = canvas->backgroundMode == TRANSPARENT;
    canvas->ops.push_back(std::move(op));
    return MeasureText(canvas->font, text).cy;
}

bool DrawFrameControl(HDC dc, const RECT& rect, UINT type, UINT state)
{
    Canvas* canvas = CanvasOf(dc);
    if (!canvas || type != DFC_BUTTON) return false;
    DrawOp op;
    op.kind = DrawOp::Kind::Frame;
    op.rect = rect;
    op.state = state;
    canvas->ops.push_back(std::move(op));
    return true;
}

bool FillRect(HDC dc, const RECT& rect, HBRUSH brush)
{
    Canvas* canvas = CanvasOf(dc);
    const BrushObject* object = Find<BrushObject>(brush);
    if (!canvas || !object) return false;
    if (object->hollow) return true;
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.rect = rect;
    op.colour = object->colour;
    canvas->ops.push_back(std::move(op));
    return true;
}

bool DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height)
{
    Canvas* canvas = CanvasOf(dc);
    const IconObject* object = Find<IconObject>(icon);
    if (!canvas || !object) return false;
    DrawOp op;
    op.kind = DrawOp::Kind::Icon;
    op.rect = RECT{x, y, x + (width ? width : object->size.cx), y + (height ? height : object->size.cy)};
    op.resourceId = object->resourceId;
    canvas->ops.push_back(std::move(op));
    return true;
}

bool StretchBitmap(HDC dc, const RECT& destination, HBITMAP bitmap)
{
    Canvas* canvas = CanvasOf(dc);
    const BitmapObject* object = Find<BitmapObject>(bitmap);
    if (!canvas || !object) return false;
    DrawOp op;
    op.kind = DrawOp::Kind::Bitmap;
    op.rect = destination;
    op.resourceId = object->resourceId;
    canvas->ops.push_back(std::move(op));
    return true;
}

SIZE MeasureText(HFONT font, std::wstring_view text)
{
    const LOGFONTW info = FontOrDefault(font);
    const int height = std::max(1, std::abs(info.lfHeight));
    const int characterWidth = std::max(1, height / 2) + (info.lfWeight >= FW_BOLD ? 1 : 0);
    return SIZE{static_cast<std::int32_t>(text.size()) * characterWidth, height + 3};
}

SIZE GetTextExtentPoint32W(HDC dc, std::wstring_view text)
{
    Canvas* canvas = CanvasOf(dc);
    return MeasureText(canvas ? canvas->font : nullptr, text);
}

bool InvalidateRect(HWND window, const RECT*, bool)
{
    if (!IsWindow(window)) return false;
    ++State().repaints[window];
    return true;
}

namespace ui {

std::vector<DrawOp> Paint(HWND window)
{
    if (!IsWindow(window)) return {};
    Canvas canvas;
    State().canvases.insert(&canvas);
    struct Forget {
        Canvas* canvas;
        ~Forget() { State().canvases.erase(canvas); }
    } forget{&canvas};
    SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(&canvas), 0);
    return std::move(canvas.ops);
}

int RepaintRequests(HWND window)
{
    const auto found = State().repaints.find(window);
    return found == State().repaints.end() ? 0 : found->second;
}

}  // namespace ui
