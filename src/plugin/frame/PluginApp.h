#pragma once

#include <memory>
#include <string>

#include "ui/Resources.h"

// The application object of the plug-in library: prepares the module-wide
// state when the library is loaded (the plug-in folder, the resource module
// "zrngtplgloc.dll" beside it, the message captions, the right-to-left flag
// and the help path templates) and hands it to the page framework.
class CZRNGTPlgApp {
public:
    static constexpr const char* kResourceModuleName = "zrngtplgloc.dll";

    // folder: the plug-in's own folder; empty means the folder of this library.
    void InitInstance(const std::string& folder = {});
    void ExitInstance();
    // Offers a key of the console's message loop to the plug-in's dialogs
    // around its window (their accelerators); true when one took it.
    bool PreTranslateMessage(const MSG& message);

    const std::string& PluginFolder() const { return m_folder; }
    bool HasResourceModule() const { return m_resourceModule != nullptr; }

    static CZRNGTPlgApp& Instance();

private:
    std::string m_folder;
    std::unique_ptr<ui::ResourceModule> m_resourceModule;
};

// The folder of the shared object this code is in, ending with a separator.
std::string FolderOfThisLibrary();
