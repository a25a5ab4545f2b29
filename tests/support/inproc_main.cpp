// In-process tests: the module's objects are linked into this program, so the
// program starts the application object itself, as the module entry would.
#include <gtest/gtest.h>

#include "core/afx.h"
#include "ovcall/host.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxModuleStartup();
    const int result = RUN_ALL_TESTS();
    // Workers still ending must not race the program's exit.
    ovcall::WaitForOtherThreadsToEnd();
    AfxModuleShutdown();
    return result;
}
