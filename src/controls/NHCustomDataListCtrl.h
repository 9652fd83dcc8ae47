#pragma once

#include <map>
#include <string>

#include "controls/NHComboBox.h"
#include "controls/NHCustomListCtrl.h"

// A list whose every row carries an object of type T: the row's data is an id
// of its own (the last id given plus one), under which the object is kept, so
// that no two rows share their data and sorting can tell them apart.
template <class BaseList, class T>
class CNHCustomDataListCtrl : public BaseList {
public:
    // Adds a row at the end; returns its index.
    int AddItem(const std::wstring& text, T object)
    {
        const LPARAM id = ++m_lastId;
        m_objects[id] = std::move(object);
        return this->InsertItem(this->GetItemCount(), text, id);
    }
    // The row's object, or a default T for a row that has none.
    T GetItemObject(int item) const
    {
        const auto found = m_objects.find(this->GetItemData(item));
        return found == m_objects.end() ? T() : found->second;
    }
    // The row's object in place, null for a row that has none.
    T* FindItemObject(int item)
    {
        const auto found = m_objects.find(this->GetItemData(item));
        return found == m_objects.end() ? nullptr : &found->second;
    }
    bool DeleteItem(int item) override
    {
        const LPARAM id = this->GetItemData(item);
        if (!BaseList::DeleteItem(item)) return false;
        m_objects.erase(id);
        return true;
    }
    bool DeleteAllItems() override
    {
        const bool deleted = BaseList::DeleteAllItems();
        m_objects.clear();
        m_lastId = 0;
        return deleted;
    }
    std::size_t GetObjectCount() const { return m_objects.size(); }

private:
    std::map<LPARAM, T> m_objects;
    LPARAM m_lastId = 0;
};

// A combo box whose every item carries an object of type T, kept as the list does.
template <class BaseCombo, class T>
class CNHCustomDataComboBox : public BaseCombo {
public:
    int AddItem(const std::wstring& text, T object, int image = -1)
    {
        const LPARAM id = ++m_lastId;
        m_objects[id] = std::move(object);
        return BaseCombo::AddItem(text, id, image);
    }
    T GetItemObject(int index) const
    {
        const auto found = m_objects.find(this->GetItemData(index));
        return found == m_objects.end() ? T() : found->second;
    }
    // The selected item's object, or a default T.
    T GetSelectedObject() const { return this->GetCurSel() < 0 ? T() : GetItemObject(this->GetCurSel()); }
    int DeleteString(int index)
    {
        const LPARAM id = this->GetItemData(index);
        const int left = BaseCombo::DeleteString(index);
        if (left >= 0) m_objects.erase(id);
        return left;
    }
    void ResetContent()
    {
        BaseCombo::ResetContent();
        m_objects.clear();
        m_lastId = 0;
    }

private:
    std::map<LPARAM, T> m_objects;
    LPARAM m_lastId = 0;
};
