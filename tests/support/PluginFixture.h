#pragma once

// The plug-in started as the console starts it (its own strings, no resource
// module), with a scripted user and a clean record of what was shown.
#include "plugin/frame/PluginApp.h"
#include "support/UserFixture.h"

namespace testsupport {

class PluginTest : public UserTest {
protected:
    void SetUp() override
    {
        CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
        UserTest::SetUp();
    }
};

}  // namespace testsupport
