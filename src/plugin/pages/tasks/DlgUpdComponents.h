#pragma once

#include <cstdint>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPDialog.h"
#include "zrpar/Params.h"

// What the update contents dialog edits: whether the contents follow the
// installed applications, whether updater diff files are redistributed, and
// the components (with their applications) downloaded in any case.
struct UpdaterContents {
    bool forInstalled = true;          // "ZRUPDSRV_RetrForInstalledProds"
    bool forInstalledOnSlaves = true;  // "ZRUPDSRV_RetrForInstalledProdsOnSlaves"
    bool diffs = false;                // "bRetranslateDiffs"
    bool onlyListedApps = true;        // "retranslate_only_listed_apps"
    // one empty container per chosen id
    ZRSTD::CAutoPtr<ZRPAR::Params> components = ZRPAR::CreateParams();
    ZRSTD::CAutoPtr<ZRPAR::Params> applications = ZRPAR::CreateParams();
};

// The update contents dialog over the administration server's catalogue of
// update components ({"ZRUpdates": [{"AppId", "CompId", "Name", "Descr",
// "AppSuperId"}]}). Chosen ids the catalogue does not list are kept.
class CDlgUpdComponents : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10301;
    static constexpr int kForInstalled = 1110, kForInstalledOnSlaves = 1111, kDiffs = 2615, kForced = 20103,
                         kList = 1033, kDownloadAll = 1108, kNote = 1112;
    static constexpr std::int32_t kFirstServerWithFreeContents = 0xb0000;

    static ui::DialogTemplate Template();

    // catalogue may be null (the server keeps none).
    CDlgUpdComponents(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterContents contents,
                      ZRSTD::CAutoPtr<ZRPAR::Params> catalogue, std::int32_t serverVersion);
    const UpdaterContents& Result() const { return m_contents; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    struct Row {
        std::wstring appId, componentId;
    };
    void UpdateControls();
    bool Checked(int id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }

    UpdaterContents m_contents;
    ZRSTD::CAutoPtr<ZRPAR::Params> m_catalogue;
    std::int32_t m_serverVersion;
    std::vector<Row> m_rowIds;
    CNHCustomListCtrl m_rows;
};
