// Unloading the module while its workers run, and loading it again.
#include <gtest/gtest.h>

#include <string>

#include "support/ov_module.h"

namespace {

using FileCopyFn = short(__cdecl*)(const char*, const char*, short, short);
using SlotFn = short(__cdecl*)(short);
using DataFn = const char*(__cdecl*)(short);

struct Loaded {
    HMODULE handle;
    FileCopyFn fileCopy;
    SlotFn isActive;
    DataFn getData;
};

template <class F> F Fn(HMODULE h, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(h, name)));
}

Loaded Load() {
    HMODULE h = LoadLibraryA(OvModule::Path().c_str());
    EXPECT_NE(h, nullptr);
    return {h, Fn<FileCopyFn>(h, "FileCopy"), Fn<SlotFn>(h, "IsActive"), Fn<DataFn>(h, "GetData")};
}

bool ModuleGone(DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(5))
        if (!GetModuleHandleA("OvDurAru.dll")) return true;
    return false;
}

void MakeBigFile(const std::string& path, std::size_t bytes) {
    WriteTextFile(path, std::string(bytes, 'b'));
}

} // namespace

TEST(CoreUnload, FreeLibraryWhileThirtyWorkersRunThenLoadCleanAgain) {
    ScratchDir dir;
    MakeBigFile(dir / "big.bin", 8 << 20);
    Loaded m = Load();
    for (short i = 0; i < 30; ++i) {
        const std::string dst = dir / ("copy" + std::to_string(i));
        ASSERT_EQ(m.fileCopy((dir / "big.bin").c_str(), dst.c_str(), 0, 0), i);
    }
    ASSERT_TRUE(FreeLibrary(m.handle));
    // The module stays until its last worker has ended, then goes away.
    ASSERT_TRUE(ModuleGone(120000));
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(ReadTextFile(dir / ("copy" + std::to_string(i))).size(), 8u << 20) << i;

    Loaded again = Load();
    EXPECT_EQ(again.getData(0)[0], '\0') << "fresh slots";
    const short slot = again.fileCopy((dir / "big.bin").c_str(), (dir / "last").c_str(), 0, 1);
    EXPECT_EQ(slot, 0);
    while (again.isActive(slot))
        Sleep(1);
    EXPECT_STREQ(again.getData(slot), "1");
    FreeLibrary(again.handle);
}

TEST(CoreUnload, LoadingAgainBeforeWorkersEndKeepsTheirResults) {
    ScratchDir dir;
    MakeBigFile(dir / "big.bin", 4 << 20);
    Loaded m = Load();
    for (short i = 0; i < 10; ++i)
        ASSERT_EQ(
            m.fileCopy((dir / "big.bin").c_str(), (dir / ("c" + std::to_string(i))).c_str(), 0, 0),
            i);
    FreeLibrary(m.handle);
    Loaded again = Load();
    for (short i = 0; i < 10; ++i) {
        while (again.isActive(i))
            Sleep(1);
        EXPECT_STREQ(again.getData(i), "1") << i;
    }
    FreeLibrary(again.handle);
    EXPECT_TRUE(ModuleGone(60000));
}
