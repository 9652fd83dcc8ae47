#include "plugin/frame/PluginApp.h"

#include <dlfcn.h>

#include <filesystem>

#include "controls/PluginEnvironment.h"
#include "plugin/frame/PluginResources.h"
#include "ui/Wnd.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

std::string FolderOfThisLibrary()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&FolderOfThisLibrary), &info) || !info.dli_fname) return {};
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(info.dli_fname, error);
    std::string folder = file.parent_path().string();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

CZRNGTPlgApp& CZRNGTPlgApp::Instance()
{
    static CZRNGTPlgApp app;
    return app;
}

void CZRNGTPlgApp::InitInstance(const std::string& folder)
{
    ui::InitializePlatform();
    m_folder = folder.empty() ? FolderOfThisLibrary() : folder;
    if (!m_folder.empty() && m_folder.back() != '/') m_folder += '/';

    // a resource module loaded before is let go first
    m_resourceModule.reset();
    const std::string path = m_folder + kResourceModuleName;
    ZRSTD::Trace(3, L"ZR_DL_LOAD_LIBRARY_EX %hs", path);
    if (!m_folder.empty()) m_resourceModule = ui::LoadResourceModuleFile(path);

    PluginEnvironment& environment = GetPluginEnvironment();
    environment.moduleState = {&frame::PluginResources(), m_resourceModule.get()};
    ui::ModuleStateScope scope(environment.moduleState);
    environment.messageCaption = ui::LoadStringW(1);
    environment.secondCaption = ui::LoadStringW(1);
    environment.rightToLeft = ui::LoadStringW(2582) != L"0";
    // "%1help\%2.htm" with the folder and a "%1" left for the topic
    environment.localHelpTemplate = ZRSTD::FormatInsert(ui::LoadStringW(5902), {ZRSTD::FromUtf8(m_folder), L"%1"});
    environment.onlineHelpTemplate = ui::LoadStringW(5903);
}

void CZRNGTPlgApp::ExitInstance()
{
    PluginEnvironment& environment = GetPluginEnvironment();
    environment.moduleState.resources = nullptr;
    m_resourceModule.reset();
}

bool CZRNGTPlgApp::PreTranslateMessage(const MSG& message)
{
    if (message.message != WM_KEYDOWN) return false;
    for (HWND window = message.hwnd; window && ::IsWindow(window); window = ::GetParent(window)) {
        auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(window));
        if (dialog && dialog->PreTranslateKey(static_cast<WORD>(message.wParam))) return true;
    }
    return false;
}
