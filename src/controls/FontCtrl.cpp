#include "controls/FontCtrl.h"

HFONT CreateChangedFont(HFONT base, const FontChange& change)
{
    LOGFONTW font;
    if (!GetFontInfo(base, font)) GetFontInfo(GetStockFont(DEFAULT_GUI_FONT), font);
    if (change.remove & FontChange::kNormalWeight) font.lfWeight = FW_NORMAL;
    if (change.remove & FontChange::kNotItalic) font.lfItalic = 0;
    if (change.remove & FontChange::kNotUnderlined) font.lfUnderline = 0;
    if (change.remove & FontChange::kNotStruckOut) font.lfStrikeOut = 0;
    if (change.add & FontChange::kBold) font.lfWeight = FW_BOLD;
    if (change.add & FontChange::kItalic) font.lfItalic = 1;
    if (change.add & FontChange::kUnderline) font.lfUnderline = 1;
    if (change.add & FontChange::kStrikeOut) font.lfStrikeOut = 1;
    if (change.height) font.lfHeight = change.height;
    return CreateFontIndirectW(font);
}
