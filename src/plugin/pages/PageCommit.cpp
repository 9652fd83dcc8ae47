#include "plugin/pages/PageCommit.h"

#include "controls/NHPDialog.h"
#include "plugin/frame/ErrorMessage.h"
#include "plugin/pages/PageResources.h"
#include "ui/Resources.h"

bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written)
{
    if (!written) {
        ShowPluginMessage(page, pageres::kSettingsNotChanged, MB_ICONERROR);
        return false;
    }
    CZRNGTErrorMessage reporter(ui::LoadStringW(pageres::kSettingsNotChanged).c_str(), page);
    return provider.Apply(false, &reporter) >= 0;
}
