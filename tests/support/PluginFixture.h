#pragma once

// The plug-in started as the console starts it (its own strings, no resource
// module), with a scripted user and a clean record of what was shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/frame/PluginApp.h"
#include "ui/Interaction.h"

namespace testsupport {

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CZRNGTPlgApp::Instance().InitInstance("/nonexistent/");
        ui::ClearInteractionRecord();
        ui::SetInteractionDriver(&user);
    }
    void TearDown() override { ui::SetInteractionDriver(nullptr); }

    // The texts of the message boxes shown so far, in order.
    static std::vector<std::wstring> Boxes()
    {
        std::vector<std::wstring> texts;
        for (const auto& box : ui::ShownBoxes()) texts.push_back(box.text);
        return texts;
    }

    ui::ScriptedUser user;
};

}  // namespace testsupport
