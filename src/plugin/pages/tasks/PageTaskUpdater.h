#pragma once

#include <set>
#include <string>
#include <vector>

#include "controls/HyperLink.h"
#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/tasks/DlgLanSettings.h"
#include "plugin/pages/tasks/DlgUpdComponents.h"
#include "plugin/pages/tasks/DlgUpdPropAdvanced.h"
#include "plugin/pages/tasks/DlgUpdSources.h"

// The update task's settings: where updates come from, how the agent
// connects, what a distribution point redistributes and the other
// settings, each group edited in its own dialog from a "configure" link.
//
// The page reads the task once into its own copy. A setting stored with a
// type the page cannot read is shown with its default and written back only
// when the administrator changes it; a task stored in the old form (no
// source list) opens with the list its old keys describe and is saved in the
// new form, its old keys left in place.
class CPageTaskUpdater : public CNHPPropertyPageBase {
public:
    static constexpr UINT kSheetTemplate = 5064, kWizardTemplate = 5066, kHelpTopic = 3411;
    static constexpr int kSourcesGroup = 1169, kSourcesText = 1170, kSourcesLink = 1060, kConnectionGroup = 1172,
                         kConnectionIcon = 1097, kConnectionText = 1173, kConnectionLink = 1051, kContentsGroup = 1114,
                         kContentsIcon = 1099, kContentsText = 1116, kContentsLink = 1058, kOtherGroup = 1115,
                         kOtherText = 1117, kOtherLink = 1059;
    // the commands the four links send
    static constexpr WORD kSourcesCommand = 32060, kConnectionCommand = 32051, kContentsCommand = 32058,
                          kOtherCommand = 32059;
    // servers from this version connect for the agents themselves: no connection group
    static constexpr std::int32_t kFirstServerWithoutConnection = 0xa2000;
    // servers from this version keep the update contents themselves
    static constexpr std::int32_t kFirstServerKeepingContents = 0xb0000;
    static constexpr std::int32_t kNewestServerWithoutCatalogue = 0x53010;
    static constexpr std::int32_t kUnreportedServerVersion = 0x50000;

    static ui::DialogTemplate SheetTemplate();
    static ui::DialogTemplate WizardTemplate();
    // The task's summary: sources, update contents and other settings.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    CPageTaskUpdater(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ApplyPage() override;

    void Load(NHPP::CParams& task);
    void EditSources();
    void EditConnection();
    void EditContents();
    void EditOther();
    bool Write(NHPP::CParams& task);

    std::int32_t ServerVersion() const;
    bool IsLocalTask() const;
    // Keeps what a dialog returned for a key, and remembers that the
    // administrator changed it when it differs from what the page held.
    template <class T>
    void Take(T& held, const T& returned, const wchar_t* key)
    {
        if (held == returned) return;
        held = returned;
        m_changed.insert(key);
    }
    // Whether apply writes the key: not one stored unreadable and left alone.
    bool Writes(const wchar_t* key) const { return !m_unreadable.count(key) || m_changed.count(key); }

    bool m_wizard;
    bool m_lockedByPolicy = false;
    std::set<std::wstring> m_unreadable, m_changed;

    UpdaterSourceList m_sources;
    UpdaterProxyBlock m_proxy;
    std::wstring m_proxyPassword;  // as stored; a new one is encoded before it is kept
    UpdaterOtherSettings m_other;
    UpdaterContents m_contents;
    bool m_contentsEdited = false;
    bool m_forcePackages = true, m_forceSlaves = false, m_serverUpdates = true, m_productUpdates = true,
         m_useAdditionalTargets = false, m_waitAdditionalTargets = false;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> m_additionalTargets;

    CHyperLink m_links[4];
};

// The page as the network agent's plug-in creates it.
class CPageTaskUpdaterNagent : public CPageTaskUpdater {
public:
    CPageTaskUpdaterNagent(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId);
};
