#pragma once

#include <string>
#include <vector>

#include "controls/NHCustomListCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "plugin/pages/tasks/GroupTaskList.h"

// A list of the console's group tasks with check boxes, for choosing the
// tasks of one kind that the check updates task runs. It is a wizard page of
// its own (template 10429), or a child of the settings page (template 10431)
// that tells the page of every change (checkupdates::kSelectionChanged).
class CWizPageTaskCheckUpdatesTaskSelectorBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kWizardTemplate = 10429, kEmbeddedTemplate = 10431;
    // controls of both templates; the scan tasks' selector renumbers its
    // own (kScanPrompt, kScanTasks) so that a page holding both tells them apart
    static constexpr int kPrompt = 1074, kTasks = 1075, kScanPrompt = 1094, kScanTasks = 1095;

    static ui::DialogTemplate Template(UINT templateId);

    // The task a row shows: one the console offers, or a chosen one it does not offer.
    struct Row {
        checkupdates::GroupTask task;
        ZRSTD::CAutoPtr<ZRPAR::Value> stored;  // the chosen item as read, null for a task not chosen
    };

    // Creates the selector as a child of page over the placeholder control.
    bool CreateEmbedded(HWND page, int placeholder);
    int ListId() const { return m_listId; }
    const std::vector<Row>& Rows() const { return m_rows; }
    // Whether the administrator changed the choice since it was read.
    bool IsChoiceChanged() const { return m_choiceChanged; }
    // Refuses a choice the task cannot run with (the message shown, the focus on the list).
    virtual bool ValidateChoice() { return true; }
    // Writes the chosen tasks as a new array in list order; items read that
    // no row shows (not a task container) follow as they were.
    bool WriteChoice(NHPP::CParams& provider);

protected:
    CWizPageTaskCheckUpdatesTaskSelectorBase(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData,
                                             const wchar_t* key, checkupdates::TaskKind kind, UINT prompt);
    // The task filter: the group tasks this selector offers.
    virtual std::vector<checkupdates::GroupTask> FilterTasks(const std::vector<checkupdates::GroupTask>& tasks) const = 0;

    bool OnInitDialog() override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool ValidatePage() override { return ValidateChoice(); }
    bool ApplyPage() override;

    void Data2UIInternal();
    // A chosen task the console does not offer: its name as the console knows it, else its storage id.
    Row DisplayTaskFromSettings(ZRPAR::Value* item, const std::vector<checkupdates::GroupTask>& known);
    void ShowReadError(const ZRERR::Error& error, const wchar_t* operation);
    std::vector<int> CheckedRows() const;

    const wchar_t* m_key;
    checkupdates::TaskKind m_kind;
    UINT m_prompt;
    int m_promptId = kPrompt, m_listId = kTasks;
    bool m_embedded = false;
    bool m_loading = false;
    bool m_choiceChanged = false;
    CNHCustomListCtrl m_tasks;
    std::vector<Row> m_rows;  // by the rows' item data
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> m_unreadable;  // chosen items that name no task
};

// The update tasks: one at least, and one per application at most.
class CWizPageTaskCheckUpdatesUpdateTaskSelector : public CWizPageTaskCheckUpdatesTaskSelectorBase {
public:
    explicit CWizPageTaskCheckUpdatesUpdateTaskSelector(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                        UINT templateId = kWizardTemplate);
    bool ValidateChoice() override;

protected:
    std::vector<checkupdates::GroupTask> FilterTasks(const std::vector<checkupdates::GroupTask>& tasks) const override;
};

// The virus scan tasks that check the received updates (none is allowed).
class CWizPageTaskCheckUpdatesScanTaskSelector : public CWizPageTaskCheckUpdatesTaskSelectorBase {
public:
    explicit CWizPageTaskCheckUpdatesScanTaskSelector(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                      UINT templateId = kWizardTemplate);

protected:
    std::vector<checkupdates::GroupTask> FilterTasks(const std::vector<checkupdates::GroupTask>& tasks) const override;
};
