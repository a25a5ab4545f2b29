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

TEST(CoreImage, ImportsOnlySystemDlls) {
    HMODULE base = OvModule::Get().handle;
    const auto& dir = Directory(base, IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_NE(dir.VirtualAddress, 0u);
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::set<std::string> imported;
    for (auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(base, dir.VirtualAddress); d->Name; ++d)
        imported.insert(At<char>(base, d->Name));
    ASSERT_FALSE(imported.empty());
    for (const std::string& name : imported) {
        EXPECT_TRUE(FileExists(std::string(system) + "\\" + name))
            << name << " is not a system DLL";
        std::string lower = name;
        for (char& c : lower)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(lower.find("libstdc++"), std::string::npos);
        EXPECT_EQ(lower.find("libgcc"), std::string::npos);
        EXPECT_EQ(lower.find("winpthread"), std::string::npos);
    }
}
