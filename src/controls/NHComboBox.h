#pragma once

#include <string>

#include "ui/CommonControls.h"
#include "ui/ControlWrappers.h"

// A combo box whose items carry data and an image: over an extended combo box
// ("ComboBoxEx32"), or a plain one, whose items then have no images.
class CNHComboBox : public CComboBox {
public:
    static constexpr UINT kDefaultMask = CBEIF_TEXT | CBEIF_LPARAM | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_OVERLAY;

    // Inserts an item (at the end for index -1) with the same image when
    // normal, selected and as overlay; returns its index or CB_ERR.
    int AddItem(const std::wstring& text, LPARAM data, int image, int index = -1, UINT mask = kDefaultMask,
                int indent = 0);
    int AddItem(const std::wstring& text, LPARAM data) { return AddItem(text, data, -1, -1, CBEIF_TEXT | CBEIF_LPARAM); }
    // Selects the first item with this data; false, with the selection kept, when none has it.
    bool SelectByData(LPARAM data);
    // The data of the selected item, or fallback when nothing is selected.
    LPARAM GetSelectedData(LPARAM fallback = -1) const;
    int FindByData(LPARAM data) const;
    // The item's image, -1 for none.
    int GetItemImage(int index) const;
    void SetImageList(HIMAGELIST images);
    bool IsExtended() const;
};
