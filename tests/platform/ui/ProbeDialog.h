#pragma once

#include "platform/ui/DialogWindows.h"
#include "platform/ui/WindowServices.h"
#include "support/TestDialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// A message target that records what reaches the probe dialog (notifications from its
// controls, commands, own messages) and leaves the rest to the window's own handling.
class RecordingTarget : public MessageTarget {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        received.push_back({message, wParam, lParam});
        if (onMessage)
            onMessage(message, wParam, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG* message) override
    {
        preTranslated.push_back(*message);
        return eatInput ? TRUE : FALSE;
    }
    void OnWindowAttached(HWND attached) override { window = attached; }
    void OnWindowGone() override { gone = true; }

    // WM_COMMAND notifications with this code from the control with this id.
    int Commands(WORD code, int id) const
    {
        int count = 0;
        for (const Received& r : received)
            count += r.message == WM_COMMAND && HIWORD(r.wParam) == code && LOWORD(r.wParam) == id;
        return count;
    }
    int Count(UINT message) const
    {
        int count = 0;
        for (const Received& r : received)
            count += r.message == message;
        return count;
    }

    HWND window = nullptr;
    std::vector<Received> received;
    std::vector<MSG> preTranslated;
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;
    bool eatInput = false;
    bool gone = false;
};

// The probe dialog of support/TestDialogs.h, shown, with a recording target.
class ProbeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog_ = CreateDialogWindow(&testdialogs::kModule, testdialogs::kProbeDialog, nullptr,
                                     &target_, true);
        ASSERT_NE(dialog_, nullptr);
        target_.received.clear();
    }
    void TearDown() override { DestroyWindow(dialog_); }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
    }

    RecordingTarget target_;
    HWND dialog_ = nullptr;
};
