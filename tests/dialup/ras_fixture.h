// In-process dial-up tests: the application object with the simulated service behind it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/app.h"
#include "dialup/kept_connection.h"
#include "dialup/ras_simulation.h"
#include "support/wait_for.h"

class DialupTest : public ::testing::Test {
  protected:
    void SetUp() override { KeptConnection().Set(nullptr); }

    static std::string Wait(short slot) { return WaitForSlot(TheApp(), slot); }

    static std::string Dial(const char* entry, const char* domain = "", const char* user = "",
                            const char* password = "") {
        return Wait(TheApp().RASDial(entry, domain, user, password));
    }
    static std::string HangUp(const char* entry) { return Wait(TheApp().RASHangUp(entry)); }
    static HRASCONN Kept() { return KeptConnection().Get(); }
    static ov::ras::KeptConnection& KeptConnection() {
        return ov::ModuleObject(TheApp().m_hRasConn);
    }

    ras_sim::SimulatedRas ras;
};
