#pragma once

#include <optional>
#include <vector>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"

// The vulnerability search task: where the agent looks for vulnerabilities
// and applications that need updates (the operating system's update agent,
// the maker's data, extra folders), and its extended diagnostics.
class CPageTaskVapmSearch : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10516;
    // controls of template 10516
    static constexpr int kPrompt = 1195, kUseWindowsUpdater = 1196, kUseMakersData = 1197, kRefreshData = 1198,
                         kFoldersLabel = 1193, kFolders = 1107, kAdd = 1108, kProperties = 1509, kRemove = 1110,
                         kExtendedDiag = 1230, kDiagSizeLabel = 1231, kDiagSize = 1232, kDiagSizeSpin = 1233;
    // the stored data sources
    static constexpr std::int32_t kBothSources = 0, kWindowsUpdaterOnly = 1, kMakersDataOnly = 2;
    // servers from this version keep the diagnostics settings
    static constexpr std::int32_t kFirstDiagServer = 0xB0000;

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageTaskVapmSearch(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdateControls();
    bool HasDiagnostics() const;
    int SelectedFolder() const;
    void EditFolder(int line);
    void RemoveFolder();
    std::int32_t SourceShown() const;

    CNHCustomListCtrl m_folders;
    CRangeEdit m_diagSize;
    // what was read, so that only what the administrator changed is written
    std::int32_t m_storedSource = kBothSources;
    bool m_loadedRefresh = true, m_loadedDiag = false;
    bool m_foldersChanged = false;
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> m_unreadableFolders;  // stored items that are no text
    bool m_loading = false;
};
