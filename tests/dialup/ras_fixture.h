// In-process dial-up tests: the application object with the simulated service behind it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/app.h"
#include "dialup/ras_simulation.h"

class DialupTest : public ::testing::Test {
  protected:
    void SetUp() override { TheApp().m_hRasConn.Set(nullptr); }

    // Polls the slot until its request ends, then collects the text.
    static std::string Wait(short slot) {
        EXPECT_GE(slot, 0);
        if (slot < 0) return "no slot";
        const DWORD deadline = GetTickCount() + 30000;
        while (TheApp().IsActive(slot)) {
            if (GetTickCount() > deadline) return "timed out";
            Sleep(1);
        }
        return TheApp().GetData(slot);
    }

    static std::string Dial(const char* entry, const char* domain = "", const char* user = "",
                            const char* password = "") {
        return Wait(TheApp().RASDial(entry, domain, user, password));
    }
    static std::string HangUp(const char* entry) { return Wait(TheApp().RASHangUp(entry)); }
    static HRASCONN Kept() { return TheApp().m_hRasConn.Get(); }

    ras_sim::SimulatedRas ras;
};
