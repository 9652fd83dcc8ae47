#include "plugin/pages/PageCommit.h"

#include "controls/NHPDialog.h"
#include "plugin/frame/ErrorMessage.h"
#include "plugin/pages/PageResources.h"
#include "ui/Resources.h"

void ShowSettingsNotChanged(HWND owner, const ZRERR::Error* why)
{
    if (!why) {
        ShowPluginMessage(owner, pageres::kSettingsNotChanged, MB_ICONERROR);
        return;
    }
    CZRNGTErrorMessage reporter(ui::LoadStringW(pageres::kSettingsNotChanged).c_str(), owner);
    reporter.ShowError(why);
}

bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written, const ZRERR::Error* why)
{
    if (!written) {
        ShowSettingsNotChanged(page, why);
        return false;
    }
    CZRNGTErrorMessage reporter(ui::LoadStringW(pageres::kSettingsNotChanged).c_str(), page);
    return provider.Apply(false, &reporter) >= 0;
}
