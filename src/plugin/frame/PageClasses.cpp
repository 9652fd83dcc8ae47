#include "plugin/frame/PageClasses.h"

#include <map>
#include <string>

#include "plugin/pages/agent/PageGeneralSettings.h"
#include "plugin/pages/agent/PageGroupNetwork.h"
#include "plugin/pages/agent/PageNetworkSettings.h"
#include "plugin/pages/agent/PageRebootSettings.h"
#include "plugin/pages/agent/PageSettingsInetProxy.h"
#include "plugin/pages/nac/PageNacSettingsView.h"

namespace frame {

namespace {

PageCreator NacView(int initialSelection)
{
    return [initialSelection](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT dialogId) -> CNHPPropertyPageBase* {
        auto* page = new CPageNacSettingsView(dialogId, std::move(pageData));
        page->SetInitialSelection(initialSelection);
        return page;
    };
}

const std::map<std::wstring, PageCreator, std::less<>>& Creators()
{
    static const std::map<std::wstring, PageCreator, std::less<>> creators = {
        {L"CPageGeneralSettingsBase",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageGeneralSettingsBase(std::move(pageData));
         }},
        {L"CPageGeneralSettingsProduct",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageGeneralSettingsProduct(std::move(pageData));
         }},
        {L"CPageGeneralSettingsProductSNagent",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             auto* page = new CPageGeneralSettingsProductSNagent(std::move(pageData));
             page->SetServerHostedAgent(true);
             return page;
         }},
        {L"CPageRebootSettingsBase",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageRebootSettingsBase(std::move(pageData));
         }},
        {L"CPageRebootSettingsProduct",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             auto* page = new CPageRebootSettingsProduct(std::move(pageData));
             page->SetLocalMode(true);
             return page;
         }},
        {L"CPageNetworkSettingsBase",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageNetworkSettingsBase(std::move(pageData));
         }},
        {L"CPageNetworkSettingsProduct",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageNetworkSettingsProduct(std::move(pageData));
         }},
        {L"CPageGroupNetwork",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageGroupNetwork(std::move(pageData));
         }},
        {L"CPageSettingsInetProxy",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageSettingsInetProxy(std::move(pageData));
         }},
        {L"CPageSettingsInetProxyProduct",
         [](std::shared_ptr<NHPP::CNHPPageData> pageData, UINT) -> CNHPPropertyPageBase* {
             return new CPageSettingsInetProxyProduct(std::move(pageData));
         }},
        {L"CPageNacNetObjects", NacView(0)},
        {L"CPageNacNetServices", NacView(-1)},
        {L"CPageNacWhiteList", NacView(-1)},
        {L"CPageNacRestrictions", NacView(-1)},
        {L"CPageNacSettingsBase", NacView(-1)},
        {L"CPageNacSettingsProduct", NacView(-1)},
        {L"CPageNacCPAccounts", NacView(-1)},
        {L"CPageNacAuthBanner", NacView(-1)},
    };
    return creators;
}

}  // namespace

const PageCreator* FindPageCreator(std::wstring_view className)
{
    auto found = Creators().find(className);
    return found == Creators().end() ? nullptr : &found->second;
}

}  // namespace frame
