#pragma once

#include <string>
#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"

// The agent's audit of the files a remote administrator reads or modifies
// during a desktop-sharing session: whether it is on, and the masks of the
// files watched for reading and for modification, one mask a line.
class CPageAuditWDS : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10524;
    // controls of template 10524
    static constexpr int kEnable = 1026, kReadLabel = 1214, kReadMasks = 1136, kWriteLabel = 1215, kWriteMasks = 1137,
                         kNote = 1112;
    static constexpr int kEnableLock = 1025, kReadLock = 1256, kWriteLock = 1257;

    static ui::DialogTemplate Template();
    // The page's export: the enable flag, the read masks and the write masks,
    // each with its lock.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    // The masks watched when the policy names none.
    static const std::vector<std::wstring>& DefaultMasks();
    // The text of a mask edit: every mask followed by a line break.
    static std::wstring MasksText(const std::vector<std::wstring>& masks);
    // The masks of an edit's text: its lines in order, blank lines dropped,
    // every other line as it is (leading blanks kept).
    static std::vector<std::wstring> MasksOf(const std::wstring& text);

    explicit CPageAuditWDS(std::shared_ptr<NHPP::CNHPPageData> pageData);

    // Lock controls in local-settings mode.
    void SetLocalMode(bool local) { m_localMode = local; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ApplyPage() override;

    void Load();
    void UpdateControls();

    CLockCtrl m_enableLock;
    // the read masks' and the write masks' locks, and each array's "joined
    // with the parent's" flag as read, written back with its lock
    CLockCtrl m_maskLocks[2];
    bool m_concatenated[2] = {false, false};
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page over one computer's local settings: the locks only show
// whether the policy enforces the values.
class CPageAuditWDSProduct : public CPageAuditWDS {
public:
    explicit CPageAuditWDSProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);
};
