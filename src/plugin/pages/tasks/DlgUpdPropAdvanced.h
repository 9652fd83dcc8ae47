#pragma once

#include <cstdint>
#include <string>

#include "controls/NHPDialog.h"

// What the update task's other settings dialog shows and edits.
struct UpdaterOtherSettings {
    bool detailedHistory = false;  // "displayAllEventsInHistory"
    bool updateAgents = true;      // "ZRSRV_NAGENT_AUTOUPDATES"
    std::int32_t schema = 0;       // "retranslation_schema": 1 downloads with the old scheme
    std::wstring folder;           // "retranslation_dir"
    std::wstring unixFolder;       // "retranslation_dir_linux"
};

// The other settings dialog: detailed history, updates of the agents, the
// old download scheme and the distribution folders (editable only for a
// local task, where the computer's own folder is the one that counts).
class CDlgUpdPropAdvanced : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10405;
    static constexpr int kFolderLabel = 1038, kUnixFolderLabel = 1039, kUpdateAgents = 1119, kDetailedHistory = 1117,
                         kOldScheme = 1380, kFolder = 1122, kUnixFolder = 1123;
    static constexpr std::int32_t kNewestServerWithoutOldScheme = 0xd0002;

    struct Context {
        bool localTask = false;
        bool unixPlatform = false;  // the computer's platform type is 1
        std::int32_t serverVersion = 0;
    };

    static ui::DialogTemplate Template();

    CDlgUpdPropAdvanced(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterOtherSettings settings, Context context);
    const UpdaterOtherSettings& Result() const { return m_settings; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    UpdaterOtherSettings m_settings;
    Context m_context;
    bool m_oldSchemeShown = false;
};
