// In-process tests: the module's objects are linked into this program, so the
// program starts the application object itself, as the module entry would.
#include <gtest/gtest.h>

#include "core/afx.h"
#include "ovcall/host.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxModuleStartup();
    const int result = RUN_ALL_TESTS();
    // The module's objects are this program's: its exit destroys them before
    // the system ends the threads, so the workers, told by their start, finish
    // first. The image holds GoogleTest's threads' code too.
    ovcall::WaitForThreadsStartedAt(CWinThread::StartAddress(), 10000);
    AfxModuleShutdown();
    return result;
}
