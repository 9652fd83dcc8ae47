#pragma once

// The maker's error an action raised; a test fails when it raised none.
#include <gtest/gtest.h>

#include <string>

#include "zrstd/Error.h"

namespace testsupport {

template <class F>
ZRERR::Error Raised(F&& action)
{
    try {
        action();
    } catch (const ZRERR::Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error was raised";
    return ZRERR::Error("", 0, L"", "", 0);
}

// The error an action raised as "module code", or "no error".
template <class F>
std::string ErrorOf(F&& action)
{
    try {
        action();
    } catch (const ZRERR::Error& error) {
        return error.GetModule() + " " + std::to_string(error.GetCode());
    }
    return "no error";
}

}  // namespace testsupport
