#include "support/ov_module.h"

#include "core/handles.h"
#include "support/directory_link.h"
#include "support/wait_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

std::string OvModule::Path() { return ov::ModuleBesideProgram(); }

OvModule& OvModule::Get() {
    static OvModule m = [] {
        try {
            return OvModule{ov::LoadModule(Path())};
        } catch (const ov::LoadError& e) {
            ADD_FAILURE() << e.what();
            std::abort();
        }
    }();
    return m;
}

std::string OvModule::Wait(short slot, DWORD timeoutMs) const {
    return WaitForSlot(*this, slot, timeoutMs);
}

void OvModule::CollectAll() const {
    for (short s = 0; s < 30; ++s)
        Wait(s);
}

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::ostringstream name;
    name << temp << "ovt_" << GetCurrentProcessId() << "_" << counter++;
    if (info) name << "_" << info->name();
    m_path = name.str();
    for (char& c : m_path)
        if (c == '/') c = '_';
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { RemoveTree(m_path); }

namespace {

// Removes a folder and all below it through the wide calls, so names of any
// code page and paths of any length go too. A link goes as a link: nothing
// it points to is entered or touched.
void RemoveLongTree(const std::wstring& dir) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = dir + L"\\" + name;
            const bool folder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                RemoveLink(path, folder);
            } else if (folder) {
                RemoveLongTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(dir.c_str());
}

} // namespace

void RemoveTree(const std::string& path) {
    const std::wstring root = LongForm(Widened(path));
    const DWORD a = GetFileAttributesW(root.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return;
    if (a & FILE_ATTRIBUTE_REPARSE_POINT)
        RemoveLink(root, a & FILE_ATTRIBUTE_DIRECTORY);
    else
        RemoveLongTree(root);
}

void WriteTextFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FILETIME WriteTimeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SetWriteTime(const std::string& path, const FILETIME& time) {
    const ov::UniqueFile h(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
    SetFileTime(h.get(), nullptr, nullptr, &time);
}

void ShiftWriteTime(const std::string& path, int seconds) {
    const FILETIME t = WriteTimeOf(path);
    ULARGE_INTEGER v{{t.dwLowDateTime, t.dwHighDateTime}};
    v.QuadPart += static_cast<long long>(seconds) * 10000000LL;
    SetWriteTime(path, FILETIME{v.LowPart, v.HighPart});
}
