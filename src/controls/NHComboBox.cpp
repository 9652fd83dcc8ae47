#include "controls/NHComboBox.h"

bool CNHComboBox::IsExtended() const { return ::GetClassName(m_hWnd) == L"ComboBoxEx32"; }

int CNHComboBox::AddItem(const std::wstring& text, LPARAM data, int image, int index, UINT mask, int indent)
{
    if (!IsExtended()) {
        const int at = InsertString(index, text);
        if (at >= 0) SetItemData(at, data);
        return at;
    }
    COMBOBOXEXITEMW item;
    item.mask = mask | (indent ? CBEIF_INDENT : 0);
    item.iItem = index;
    item.text = text;
    item.iImage = item.iSelectedImage = item.iOverlay = image;
    item.iIndent = indent;
    item.lParam = data;
    return static_cast<int>(SendMessage(CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int CNHComboBox::FindByData(LPARAM data) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (GetItemData(i) == data) return i;
    return CB_ERR;
}

bool CNHComboBox::SelectByData(LPARAM data)
{
    const int index = FindByData(data);
    if (index == CB_ERR) return false;
    SetCurSel(index);
    return true;
}

LPARAM CNHComboBox::GetSelectedData(LPARAM fallback) const
{
    const int selected = GetCurSel();
    return selected == CB_ERR ? fallback : GetItemData(selected);
}

int CNHComboBox::GetItemImage(int index) const
{
    if (!IsExtended()) return -1;
    COMBOBOXEXITEMW item;
    item.mask = CBEIF_IMAGE;
    item.iItem = index;
    return SendMessage(CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

void CNHComboBox::SetImageList(HIMAGELIST images)
{
    if (IsExtended()) SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}
