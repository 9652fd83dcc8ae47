#pragma once

#include <string>

#include "ui/FileDialog.h"

// The save dialog of a list export: the standard save-file dialog (default
// extension "csv") with one more check box below the file-type list, whose
// state is read as the dialog closes.
class CDlgExportFileSelect : public CFileDialog {
public:
    static constexpr int kCheckBoxId = 10002;
    static constexpr DWORD kFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;  // 0x880006
    static constexpr int kExtraHeight = 24, kBoxGap = 4, kBoxHeight = 16;

    CDlgExportFileSelect(std::wstring filter, std::wstring title, std::wstring checkBoxCaption);
    // True when the box was ticked as the dialog closed.
    bool GetBoxState() const { return m_boxState; }

protected:
    bool OnInitDialog() override;
    void OnDestroy() override;

private:
    std::wstring m_checkBoxCaption;
    bool m_boxState = false;
};
