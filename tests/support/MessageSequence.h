#pragma once

// Records the messages a window receives, for comparison with an expected
// sequence table; a mismatch prints both sequences side by side.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ui/Window.h"

namespace testsupport {

struct Message {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;  // for WM_NOTIFY: the notification code
    bool operator==(const Message&) const = default;
};

inline std::string Describe(const Message& m)
{
    std::ostringstream out;
    out << "0x" << std::hex << m.message << std::dec << " w=";
    if (m.message == WM_COMMAND) out << "(id " << LOWORD(m.wParam) << ", code 0x" << std::hex << HIWORD(m.wParam) << std::dec << ")";
    else out << m.wParam;
    out << " l=" << m.lParam;
    return out.str();
}

// A parent window that records what it is sent (and answers 0).
class RecordingParent {
public:
    explicit RecordingParent(std::vector<UINT> messagesOfInterest = {WM_COMMAND, WM_NOTIFY})
        : m_interest(std::move(messagesOfInterest))
    {
        static const bool registered = [] {
            RegisterWindowClass(L"TestRecordingParent", [] { return WindowProc(DefWindowProcW); });
            return true;
        }();
        (void)registered;
        m_window = CreateWindowExW(0, L"TestRecordingParent", L"parent", WS_VISIBLE, RECT{0, 0, 800, 600}, nullptr, 0);
        SetWindowProc(m_window, [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (std::find(m_interest.begin(), m_interest.end(), message) != m_interest.end()) {
                const LPARAM detail = message == WM_NOTIFY && lParam
                                          ? static_cast<LPARAM>(static_cast<std::int32_t>(reinterpret_cast<NMHDR*>(lParam)->code))
                                          : lParam;
                received.push_back({message, wParam, detail});
            }
            return DefWindowProcW(window, message, wParam, lParam);
        });
    }
    ~RecordingParent() { DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }
    void Interest(std::vector<UINT> messages) { m_interest = std::move(messages); }

    std::vector<Message> received;

private:
    std::vector<UINT> m_interest;
    HWND m_window;
};

inline void ExpectSequence(const std::vector<Message>& expected, const std::vector<Message>& actual)
{
    if (expected == actual) return;
    std::ostringstream out;
    out << "message sequences differ\n  expected:\n";
    for (const auto& m : expected) out << "    " << Describe(m) << "\n";
    out << "  actual:\n";
    for (const auto& m : actual) out << "    " << Describe(m) << "\n";
    ADD_FAILURE() << out.str();
}

inline Message Command(int id, WORD code, HWND control)
{
    return {WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code), reinterpret_cast<LPARAM>(control)};
}

}  // namespace testsupport
