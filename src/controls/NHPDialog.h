#pragma once

#include <initializer_list>
#include <map>
#include <memory>

#include <vector>

#include "nhpp/CParams.h"
#include "ui/Wnd.h"
#include "zrstd/CString.h"

namespace NHPP {
class CNHPPageData;
}

// The base of the plug-in's dialogs: help, window placement, right-to-left
// layout, accelerators and a minimum size.
class CNHPDialog : public CDialog {
public:
    CNHPDialog(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData = nullptr);
    ~CNHPDialog() override;

    void SetPlacementKey(const CString& key) { m_placementKey = key; }
    void SetHelpTopic(UINT topicId) { m_helpTopicId = topicId; }
    UINT GetHelpTopic() const { return m_helpTopicId; }
    void SetKeepMinimumSize(bool keep) { m_keepMinimumSize = keep; }
    // A key that posts a command to the dialog, taken before its controls see it.
    void AddAccelerator(WORD key, WORD command) { m_accelerators[key] = command; }
    // The smallest size the dialog may be made: its size when first asked.
    POINT MinimumTrackingSize();

    const std::shared_ptr<NHPP::CNHPPageData>& GetPageData() const { return m_pageData; }
    // The provider of a section of the page data (the current one for null),
    // remembered as one this dialog shows and writes.
    ZRSTD::CAutoPtr<NHPP::CParams> Provider(const wchar_t* section = nullptr);
    const std::vector<ZRSTD::CAutoPtr<NHPP::CParams>>& ProvidersUsed() const { return m_providersUsed; }

    // A control and the id of the plug-in string it shows.
    struct ControlText {
        int control;
        UINT text;
    };
    // Puts each plug-in string into its control.
    void SetControlTexts(std::initializer_list<ControlText> texts);

    // Shows the help topic, or asks the parent (WM_HELP) when the topic is 0.
    void Help(HELPINFO* received = nullptr);

protected:
    // Every message a window of the plug-in handles runs in the plug-in's
    // module state (its strings and templates), whoever delivers it.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCreateWindow() override;
    void OnDestroy() override;
    bool OnHelp(HELPINFO* info) override;
    bool PreTranslateKey(WORD key) override;

    CString m_placementKey;
    std::map<WORD, WORD> m_accelerators;
    bool m_keepMinimumSize = false;
    POINT m_minimumSize;
    bool m_minimumKnown = false;
    UINT m_helpTopicId = 0;
    std::shared_ptr<NHPP::CNHPPageData> m_pageData;
    std::vector<ZRSTD::CAutoPtr<NHPP::CParams>> m_providersUsed;
};

// Shows a string of the plug-in as an error message box owned by owner.
int ShowPluginMessage(HWND owner, UINT stringId, UINT style);
// The same for a text already composed.
int ShowPluginText(HWND owner, const std::wstring& text, UINT style);
