// The black-box test program: the built DLL is loaded by the tests themselves.
#include <gtest/gtest.h>

#include "ovcall/host.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    ovcall::LetWorkersEndBeforeExit(GetModuleHandleA("OvDurAru.dll"));
    return result;
}
