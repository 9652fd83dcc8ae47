#include "plugin/pages/PageCommit.h"

#include "controls/NHPDialog.h"
#include "plugin/frame/ErrorMessage.h"
#include "plugin/pages/PageResources.h"
#include "ui/Resources.h"

bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written, UINT failureText)
{
    if (!written) {
        ShowPluginMessage(page, failureText, MB_ICONERROR);
        return false;
    }
    CZRNGTErrorMessage reporter(ui::LoadStringW(failureText).c_str(), page);
    return provider.Apply(false, &reporter) >= 0;
}
