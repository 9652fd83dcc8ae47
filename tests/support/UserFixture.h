#pragma once

// The platform started, with a scripted user and a clean record of the
// message boxes, dialogs and menus shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Interaction.h"
#include "ui/Wnd.h"

namespace testsupport {

class UserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::InitializePlatform();
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
