#include "sysinfo_simulation.h"

#include <cstring>

#include "sysinfo/sysinfo_platform.h"

namespace {

SimState g_state;
// Identifiers handed out in the token blocks: the address says which account.
int g_userSid;
int g_groupSids[64];
HANDLE const kToken = reinterpret_cast<HANDLE>(0x7150);

void Fault() {
    volatile int* volatile bad = reinterpret_cast<int*>(0x10);
    *bad = 1;
}

UINT Folder(LPSTR buffer, UINT room) {
    g_state.roomsOffered.push_back(room);
    if (g_state.folderFails) return 0;
    const std::string& text = g_state.folder;
    if (text.size() >= room) return static_cast<UINT>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<UINT>(text.size());
}

UINT WINAPI SimWindowsDirectory(LPSTR buffer, UINT room) { return Folder(buffer, room); }
UINT WINAPI SimSystemDirectory(LPSTR buffer, UINT room) { return Folder(buffer, room); }
DWORD WINAPI SimTempPath(DWORD room, LPSTR buffer) { return Folder(buffer, room); }

BOOL Name(const std::string& text, LPSTR buffer, LPDWORD size, DWORD sizeIncludes) {
    g_state.roomsOffered.push_back(*size);
    if (text.size() >= *size) {
        *size = static_cast<DWORD>(text.size() + 1);
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *size = static_cast<DWORD>(text.size() + sizeIncludes);
    return TRUE;
}

BOOL WINAPI SimComputerName(LPSTR buffer, LPDWORD size) {
    if (g_state.computerNameFaults) Fault();
    return Name(g_state.computerName, buffer, size, 0);
}

// GetUserNameA counts the terminator in the size it leaves.
BOOL WINAPI SimUserName(LPSTR buffer, LPDWORD size) {
    return Name(g_state.user.name, buffer, size, 1);
}

HANDLE WINAPI SimCurrentProcess() { return reinterpret_cast<HANDLE>(-1); }

BOOL WINAPI SimOpenToken(HANDLE process, DWORD access, PHANDLE token) {
    if (process != reinterpret_cast<HANDLE>(-1) || access != TOKEN_QUERY || g_state.openFails) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    ++g_state.tokensOpened;
    *token = kToken;
    return TRUE;
}

BOOL WINAPI SimCloseHandle(HANDLE handle) {
    EXPECT_EQ(handle, kToken) << "only the token goes through this table";
    ++g_state.tokensClosed;
    return TRUE;
}

HGLOBAL WINAPI SimGlobalAlloc(UINT flags, SIZE_T bytes) {
    EXPECT_EQ(flags, static_cast<UINT>(GMEM_ZEROINIT));
    if (g_state.allocFails) return nullptr;
    ++g_state.blocksAllocated;
    return ::GlobalAlloc(flags, bytes);
}

HGLOBAL WINAPI SimGlobalFree(HGLOBAL block) {
    ++g_state.blocksFreed;
    return ::GlobalFree(block);
}

DWORD BlockLength(TOKEN_INFORMATION_CLASS infoClass) {
    if (infoClass == TokenUser) return sizeof(TOKEN_USER);
    return static_cast<DWORD>(offsetof(TOKEN_GROUPS, Groups) +
                              g_state.groups.size() * sizeof(SID_AND_ATTRIBUTES));
}

void FillBlock(TOKEN_INFORMATION_CLASS infoClass, void* block) {
    if (infoClass == TokenUser) {
        static_cast<TOKEN_USER*>(block)->User.Sid = &g_userSid;
        return;
    }
    auto* groups = static_cast<TOKEN_GROUPS*>(block);
    groups->GroupCount = g_state.claimedGroupCount ? g_state.claimedGroupCount
                                                   : static_cast<DWORD>(g_state.groups.size());
    for (std::size_t i = 0; i < g_state.groups.size(); ++i) {
        groups->Groups[i].Sid = &g_groupSids[i];
        groups->Groups[i].Attributes = SE_GROUP_ENABLED;
    }
}

BOOL WINAPI SimTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, LPVOID block,
                                DWORD length, PDWORD needed) {
    EXPECT_EQ(token, kToken);
    EXPECT_TRUE(infoClass == TokenUser || infoClass == TokenGroups);
    *needed = BlockLength(infoClass);
    if (!block || length < *needed) {
        SetLastError(g_state.lengthQueryError);
        return FALSE;
    }
    if (g_state.readFails) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    FillBlock(infoClass, block);
    return TRUE;
}

const SimAccount* AccountOf(PSID sid) {
    if (sid == &g_userSid) return &g_state.user;
    for (std::size_t i = 0; i < g_state.groups.size(); ++i)
        if (sid == &g_groupSids[i]) return &g_state.groups[i];
    return nullptr;
}

BOOL WINAPI SimLookupAccountSid(LPCSTR system, PSID sid, LPSTR name, LPDWORD nameSize, LPSTR domain,
                                LPDWORD domainSize, PSID_NAME_USE use) {
    EXPECT_EQ(system, nullptr);
    g_state.lookupRooms.push_back(*nameSize);
    g_state.lookupRooms.push_back(*domainSize);
    const SimAccount* account = AccountOf(sid);
    if (!account) ADD_FAILURE() << "unknown identifier";
    if (!account || account->lookupFails) {
        SetLastError(ERROR_NONE_MAPPED);
        return FALSE;
    }
    if (account->lookupFaults) Fault();
    if (account->name.size() >= *nameSize || account->domain.size() >= *domainSize) {
        *nameSize = static_cast<DWORD>(account->name.size() + 1);
        *domainSize = static_cast<DWORD>(account->domain.size() + 1);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(name, account->name.c_str(), account->name.size() + 1);
    std::memcpy(domain, account->domain.c_str(), account->domain.size() + 1);
    *nameSize = static_cast<DWORD>(account->name.size());
    *domainSize = static_cast<DWORD>(account->domain.size());
    *use = SidTypeGroup;
    return TRUE;
}

// The folder, name and identity calls simulated; the registry and version calls real.
ov::SysinfoPlatform Simulated() {
    ov::SysinfoPlatform p = ov::Sysinfo();
    p.GetWindowsDirectoryA = &SimWindowsDirectory;
    p.GetSystemDirectoryA = &SimSystemDirectory;
    p.GetTempPathA = &SimTempPath;
    p.GetComputerNameA = &SimComputerName;
    p.GetUserNameA = &SimUserName;
    p.GetCurrentProcess = &SimCurrentProcess;
    p.OpenProcessToken = &SimOpenToken;
    p.GetTokenInformation = &SimTokenInformation;
    p.GlobalAlloc = &SimGlobalAlloc;
    p.GlobalFree = &SimGlobalFree;
    p.LookupAccountSidA = &SimLookupAccountSid;
    p.CloseHandle = &SimCloseHandle;
    return p;
}

} // namespace

SimState& Sim() { return g_state; }

void SysInfoSimTest::SetUp() {
    g_state = SimState{};
    static const ov::SysinfoPlatform simulated = Simulated();
    ov::SetPlatformForTesting(&simulated);
}

void SysInfoSimTest::TearDown() { ov::SetPlatformForTesting<ov::SysinfoPlatform>(nullptr); }
