#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Win32.h"

// Which pages an edited object has, in which order, and which settings
// sections they see. Descriptors and created pages come from the same list,
// so the console's page index always names the same page.
namespace frame {

enum class ConfiguratorMode {
    None,
    Policy,
    PolicyWizard,
    LocalSettings,
    DistributionPoint,
    BootServer,
    InstallerPackage,
    Task,
    TaskWizard,
};

// The mode of an object kind, wizard flag and task type: a non-task object
// matches only with an empty task type; a task only with a known one.
ConfiguratorMode ModeOf(std::int32_t objectKind, std::int32_t wizard, const std::wstring& taskType);

struct PageEntry {
    UINT titleId = 0;
    UINT descriptionId = 0;  // 0: no description
    std::int32_t helpId = 0;
    const wchar_t* className = L"";
    UINT dialogId = 0;
};

// The facts about the edited object that decide which pages exist; asked
// each time a list is built.
class PageConditions {
public:
    virtual bool IsNacAvailable() = 0;
    virtual bool IsServerHostedAgent() = 0;
    virtual int GetPlatformType() = 0;
    // "InternalVersion" of the installer package (9 when absent).
    virtual std::int32_t GetInstallerInternalVersion() = 0;
    virtual std::int32_t GetServerVersionId() = 0;

protected:
    ~PageConditions() = default;
};

std::vector<PageEntry> PagesOf(ConfiguratorMode mode, const std::wstring& taskType, PageConditions& conditions);

struct SectionRegistration {
    const wchar_t* name;
    bool makeCurrent;
};
// The sections a mode registers, in order, and the provider kind they get.
const std::vector<SectionRegistration>& SectionsOf(ConfiguratorMode mode);
int SectionProviderKindOf(ConfiguratorMode mode);

}  // namespace frame
