#pragma once

#include <optional>
#include <string>

#include "controls/NHPDialog.h"

// A folder the vulnerability search looks through for applications, typed
// or picked: OK takes it trimmed, and refuses an empty text or one no folder
// can be named by.
class CDlgVapmSearchAddFolder : public CNHPDialog {
public:
    static constexpr UINT kTemplate = 10517;
    static constexpr int kLabel = 1112, kFolder = 1136, kBrowse = 1137;
    static constexpr UINT kCaptionText = 2487, kLabelText = 2486, kBadPath = 2488;

    static ui::DialogTemplate Template();
    // The folder as OK accepts it (trimmed), or nothing when it names no folder.
    static std::optional<std::wstring> AcceptedFolder(const std::wstring& typed);

    explicit CDlgVapmSearchAddFolder(std::wstring folder);
    const std::wstring& Folder() const { return m_folder; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    std::wstring m_folder;
};
