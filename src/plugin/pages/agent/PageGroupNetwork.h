#pragma once

#include "controls/HyperLink.h"
#include "controls/NHPPropertyPageBase.h"

// The network group page: no settings of its own, three links that ask the
// console to show the network page, the connection profiles page and the
// connection manager page.
class CPageGroupNetwork : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10519;
    static ui::DialogTemplate Template();

    explicit CPageGroupNetwork(std::shared_ptr<NHPP::CNHPPageData> pageData = nullptr)
        : CNHPPropertyPageBase(kTemplate, std::move(pageData))
    {
    }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    CHyperLink m_links[3];
};
