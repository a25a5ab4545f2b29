// The module's image: its export directory and the DLLs it imports.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/ov_module.h"

namespace {

template <class T> const T* At(HMODULE base, DWORD rva) {
    return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(base) + rva);
}

// The headers of the architecture the tests are built for, as the module's.
const IMAGE_NT_HEADERS& Headers(HMODULE base) {
    return *At<IMAGE_NT_HEADERS>(base, At<IMAGE_DOS_HEADER>(base, 0)->e_lfanew);
}

const IMAGE_DATA_DIRECTORY& Directory(HMODULE base, int which) {
    return Headers(base).OptionalHeader.DataDirectory[which];
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

TEST(CoreImage, ExportsExactlyTheTwentyNineNamesUnderItsOwnName) {
    HMODULE base = OvModule::Get().handle;
    EXPECT_EQ(Headers(base).FileHeader.Machine,
              Headers(GetModuleHandleA(nullptr)).FileHeader.Machine);
    EXPECT_EQ(Headers(base).OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR_MAGIC);
    const auto& dir = Directory(base, IMAGE_DIRECTORY_ENTRY_EXPORT);
    const auto* exports = At<IMAGE_EXPORT_DIRECTORY>(base, dir.VirtualAddress);
    EXPECT_STREQ(At<char>(base, exports->Name), "OvDurAru.dll");
    EXPECT_EQ(exports->Base, 1u);
    EXPECT_EQ(exports->NumberOfFunctions, 29u);
    ASSERT_EQ(exports->NumberOfNames, 29u);
    const auto* names = At<DWORD>(base, exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        const std::string name = At<char>(base, names[i]);
        EXPECT_EQ(name.find('@'), std::string::npos) << "undecorated: " << name;
        EXPECT_NE(name.rfind("Ov", 0), 0u) << "internal name leaked: " << name;
    }
}

TEST(CoreImage, ImportsOnlyLibrariesTheLoaderTakesFromTheSystem) {
    HMODULE base = OvModule::Get().handle;
    const auto& dir = Directory(base, IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_NE(dir.VirtualAddress, 0u);
    std::set<std::string> imported;
    for (auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(base, dir.VirtualAddress); d->Name; ++d)
        imported.insert(Lower(At<char>(base, d->Name)));
    // rasapi32, winspool.drv and version.dll are loaded on first use, from
    // the system folder only; gdi32 may come with what the display needs.
    imported.erase("gdi32.dll");
    EXPECT_EQ(imported, (std::set<std::string>{"advapi32.dll", "kernel32.dll", "msvcrt.dll",
                                               "user32.dll", "ws2_32.dll"}));
    const auto& delayed = Directory(base, IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT);
    EXPECT_EQ(delayed.VirtualAddress, 0u) << "no delay-load imports either";
}
