#include "plugin/pages/PageCommit.h"

#include "controls/NHPDialog.h"
#include "plugin/frame/ErrorMessage.h"
#include "plugin/pages/PageResources.h"
#include "ui/Resources.h"

void ShowSettingsNotChanged(HWND owner, const ZRERR::Error* why, UINT failureText)
{
    if (!why) {
        ShowPluginMessage(owner, failureText, MB_ICONERROR);
        return;
    }
    CZRNGTErrorMessage reporter(ui::LoadStringW(failureText).c_str(), owner);
    reporter.ShowError(why);
}

bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written, UINT failureText, const ZRERR::Error* why)
{
    if (!written) {
        ShowSettingsNotChanged(page, why, failureText);
        return false;
    }
    CZRNGTErrorMessage reporter(ui::LoadStringW(failureText).c_str(), page);
    return provider.Apply(false, &reporter) >= 0;
}

bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written, const ZRERR::Error* why)
{
    return CommitPageSettings(page, provider, written, pageres::kSettingsNotChanged, why);
}
