#pragma once

#include <vector>

#include "controls/NHPPropertyPageBase.h"
#include "nhpp/CParams.h"

// The network access control pages (network objects, network services, white
// list, access restrictions, settings, captive-portal accounts, authorization
// banner). The plug-in shows what their sections hold, as a tree of names and
// values with the policy's locks, and changes nothing.
class CPageNacSettingsView : public CNHPPropertyPageBase {
public:
    static constexpr int kTitle = 1000;
    static constexpr int kSettingsList = 1001;
    static constexpr int kReadOnlyNote = 1002;

    struct PageKind {
        UINT dialogId;
        UINT titleId;
        const wchar_t* section;
    };
    // The seven pages by dialog id (the local-settings form of the settings
    // page has a template of its own).
    static const std::vector<PageKind>& Kinds();
    static std::vector<ui::DialogTemplate> Templates();

    CPageNacSettingsView(UINT dialogId, std::shared_ptr<NHPP::CNHPPageData> pageData);

    // The row selected when the page opens; -1 selects none.
    void SetInitialSelection(int row) { m_initialSelection = row; }

protected:
    bool OnInitDialog() override;
    bool ApplyPage() override { return true; }  // nothing here is edited

private:
    void FillSettings();

    const PageKind* m_kind = nullptr;
    int m_initialSelection = -1;
};
