#pragma once

#include <cstdint>
#include <string>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPDialog.h"
#include "controls/PasswordButton.h"
#include "controls/PasswordEdit.h"
#include "plugin/pages/tasks/UpdaterSources.h"
#include "zrstd/MemoryChunk.h"

// The update task's sources and the account for a shared source folder.
struct UpdaterSourceList {
    updater::Sources sources;
    std::wstring shareUser;                               // "ShareUsername"
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> sharePassword;    // "SharePassword", protected; null for none
};

// The update source list: add, edit, order and remove sources, and the
// account of a shared folder, whose password is protected by the console's
// "DATA_PROTECTION" service before it leaves the dialog.
class CDlgUpdSources : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10407;
    static constexpr int kListLabel = 1113, kList = 1114, kAdd = 1055, kProperties = 1057, kUp = 1053, kDown = 1054,
                         kRemove = 1056, kUseAccount = 1316, kUserLabel = 1003, kUser = 1040, kPasswordLabel = 1004,
                         kPassword = 1001, kShowPassword = 1220;
    static constexpr std::int32_t kFirstServerWithAccount = 0xa2000;
    // The console node's property that tells its state, and the state in which its objects are locked.
    static constexpr std::int32_t kNodeStateProperty = 13, kNodeLocked = 2;

    static ui::DialogTemplate Template();

    CDlgUpdSources(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterSourceList list, std::int32_t serverVersion);
    const UpdaterSourceList& Result() const { return m_list; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    void OnOK() override;

private:
    void ShowRow(int line);
    void Select(int line);
    int Selected() const;
    void UpdateButtons();
    void UpdateAccount();
    void Add();
    void EditSelected();
    void RemoveSelected();
    void Move(int by);
    bool Accept();

    UpdaterSourceList m_list;
    std::int32_t m_serverVersion;
    bool m_nodeLocked = false;
    CNHCustomListCtrl m_rows;
    CPasswordEdit m_password;
    CPasswordButton m_showPassword;
};

// One source's properties: the update service, the administration server
// (shown, never chosen here) or a folder or address, and whether it does
// without the proxy.
class CDlgUpdSrcProps : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 5067;
    static constexpr int kVendorService = 1118, kAdminServer = 1119, kFolder = 1120, kUrl = 1121, kBrowse = 1040,
                         kNoProxy = 1048, kGroup = 1117;
    static constexpr std::int32_t kFirstServerWithoutSourceProxy = 0xe0200;

    static ui::DialogTemplate Template();

    // source is edited in place on OK.
    CDlgUpdSrcProps(std::shared_ptr<NHPP::CNHPPageData> pageData, ZRPAR::Params& source, bool vendorServiceAllowed,
                    std::int32_t serverVersion);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void UpdateControls();
    void Browse();
    bool Checked(int id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }

    ZRPAR::Params& m_source;
    bool m_vendorServiceAllowed;
    std::int32_t m_serverVersion;
};
