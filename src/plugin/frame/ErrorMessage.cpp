#include "plugin/frame/ErrorMessage.h"

#include "controls/PluginEnvironment.h"
#include "ui/Interaction.h"
#include "zrstd/Format.h"

int ShowMessage(HWND owner, UINT formatId, const std::wstring& text, UINT style, int captionSelector)
{
    const PluginEnvironment& environment = GetPluginEnvironment();
    ui::ModuleStateScope scope(environment.moduleState);
    const std::wstring message = formatId ? ZRSTD::FormatW(ui::LoadStringW(formatId), text) : text;
    const std::wstring& caption = captionSelector ? environment.messageCaption : environment.secondCaption;
    return MessageBoxW(owner, message, caption, style | RightToLeftBoxStyle());
}

namespace NHPP {

void CErrorMessage::Show(const std::wstring& message) const { ShowMessage(m_owner, 0, message, MB_ICONERROR, 1); }

void CErrorMessage::ShowError(const ZRERR::Error* error)
{
    if (!error) return;
    if (ZRERR_IsErrorLocalized(*error))
        Show(ZRSTD::FormatW(L"%s %s", m_prefix, ZRERR_LocFormatErrorString(*error)));
    else
        Show(m_prefix);
}

}  // namespace NHPP

void CZRNGTErrorMessage::ShowError(const ZRERR::Error* error)
{
    if (!error) return;
    UINT textId = 0;
    switch (error->GetCode()) {
    case 1184: textId = 926; break;  // access denied
    case 1259: textId = 932; break;  // connection is broken
    case 1267: textId = 941; break;  // request timeout
    default: CErrorMessage::ShowError(error); return;
    }
    ui::ModuleStateScope scope(GetPluginEnvironment().moduleState);
    Show(ZRSTD::FormatW(L"%s %s", m_prefix, ui::LoadStringW(textId)));
}
