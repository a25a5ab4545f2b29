#include "sysinfo/user_identity.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "core/app.h"
#include "core/call_frame.h"
#include "core/result_buffer.h"
#include "sysinfo/sysinfo_platform.h"

namespace ov::sysinfo {
namespace {

ResultBuffer g_userName, g_userDomain;

// The comma-separated group list, built in a buffer of its own run.
class GroupList {
  public:
    static constexpr std::size_t kLimit = 254;

    // Adds the comma of the next group, placed before its lookup so that a
    // failed lookup leaves an empty item. No comma while the list is empty
    // (or holds a single character), and none once it is full.
    void AddSeparator();
    // Adds "domain\name", or drops the item when it would not leave the list
    // under 254 characters; its comma stays.
    void AddItem(const char* domain, const char* name);

    std::string Text() const { return std::string(m_text, m_length); }

  private:
    void Append(const char* text, std::size_t length);

    char m_text[256] = {};
    std::size_t m_length = 0;
};

constexpr DWORD kUserNameRoom = 255;
constexpr DWORD kDomainPartRoom = 127; // per part, terminator included
constexpr DWORD kGroupPartRoom = 254;

// Opens the calling process's token and reads one class of its information
// into a zero-filled block. The caller owns token and block, so they are
// released on every path, a caught fault included.
bool ReadTokenInformation(TOKEN_INFORMATION_CLASS infoClass, UniqueToken& token, UniqueBlock& block,
                          DWORD& length) {
    const SysinfoPlatform& p = Sysinfo();
    HANDLE opened = nullptr;
    if (!p.OpenProcessToken(p.GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
    token.reset(opened);
    DWORD needed = 0;
    if (p.GetTokenInformation(opened, infoClass, nullptr, 0, &needed) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) // as the table's call left it
        return false;
    block.reset(p.GlobalAlloc(GMEM_ZEROINIT, needed));
    if (!block) return false;
    if (!p.GetTokenInformation(opened, infoClass, block.get(), needed, &needed)) return false;
    length = needed;
    return true;
}

// Looks an identifier up on the local computer with room characters offered
// for each part; both buffers hold at least room + 1 bytes.
bool LookupAccount(PSID sid, DWORD room, char* name, char* domain) {
    DWORD nameSize = room;
    DWORD domainSize = room;
    SID_NAME_USE use{};
    name[0] = domain[0] = '\0';
    if (!Sysinfo().LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
        return false;
    name[room] = domain[room] = '\0';
    return true;
}

// The groups a block of length bytes can really hold, whatever its count says.
DWORD GroupCount(const TOKEN_GROUPS& groups, DWORD length) {
    constexpr std::size_t header = offsetof(TOKEN_GROUPS, Groups);
    if (length < header) return 0;
    const std::size_t fits = (length - header) / sizeof(SID_AND_ATTRIBUTES);
    return groups.GroupCount < fits ? groups.GroupCount : static_cast<DWORD>(fits);
}

} // namespace

void GroupList::AddSeparator() {
    if (m_length > 1 && m_length < kLimit) Append(",", 1);
}

void GroupList::AddItem(const char* domain, const char* name) {
    const std::size_t domainLength = std::strlen(domain);
    const std::size_t nameLength = std::strlen(name);
    const std::size_t itemLength = domainLength + 1 + nameLength;
    if (m_length + itemLength >= kLimit) return;
    Append(domain, domainLength);
    Append("\\", 1);
    Append(name, nameLength);
}

void GroupList::Append(const char* text, std::size_t length) {
    std::memcpy(m_text + m_length, text, length);
    m_length += length;
    m_text[m_length] = '\0';
}

} // namespace ov::sysinfo

using namespace ov::sysinfo;

const char* COvDEvedApp::GetWindowsUserName() {
    return ov::TextFrame(OV_APP_TRACE(GetWindowsUserName), g_userName, [](ov::ResultBuffer& text) {
        DWORD size = kUserNameRoom;
        if (!ov::Sysinfo().GetUserNameA(text, &size) || size > ov::kMaxResultText) text[0] = '\0';
    });
}

const char* COvDEvedApp::GetWindowsUserDomain(short withAccount) {
    ov::UniqueToken token;
    ov::UniqueBlock block; // freed before the token is closed
    return ov::TextFrame(OV_APP_TRACE(GetWindowsUserDomain), g_userDomain,
                         [&](ov::ResultBuffer& text) {
                             DWORD length = 0;
                             if (!ReadTokenInformation(TokenUser, token, block, length) ||
                                 length < sizeof(TOKEN_USER))
                                 return;
                             const auto* user = static_cast<const TOKEN_USER*>(block.get());
                             char name[kDomainPartRoom + 1];
                             char domain[kDomainPartRoom + 1];
                             if (LookupAccount(user->User.Sid, kDomainPartRoom, name, domain)) {
                                 if (withAccount)
                                     std::snprintf(text, sizeof text, "%s\\%s", domain, name);
                                 else
                                     std::snprintf(text, sizeof text, "%s", domain);
                             }
                         });
}

short COvDEvedApp::GetWindowsUserGroups() {
    return StartRequest<CUserGroups>(OV_APP_TRACE(GetWindowsUserGroups), "",
                                     [](CUserGroups& worker) { return worker.Start(); });
}

IMPLEMENT_DYNCREATE(CUserGroups)

BOOL CUserGroups::Start() { return CreateThread(); }

BOOL CUserGroups::InitInstance() { return FinishRequest(ExecuteGetUserGroups()); }

std::string CUserGroups::ExecuteGetUserGroups() {
    GroupList list;
    ov::UniqueToken token;
    ov::UniqueBlock block;
    ov::CallFrame<int>(OV_TRACE(CUserGroups, ExecuteGetUserGroups), 0, [&] {
        DWORD length = 0;
        if (!ReadTokenInformation(TokenGroups, token, block, length)) return 0;
        const auto* groups = static_cast<const TOKEN_GROUPS*>(block.get());
        const DWORD count = GroupCount(*groups, length);
        for (DWORD i = 0; i < count; ++i) {
            list.AddSeparator();
            char name[kGroupPartRoom + 2];
            char domain[kGroupPartRoom + 2];
            if (LookupAccount(groups->Groups[i].Sid, kGroupPartRoom, name, domain))
                list.AddItem(domain, name);
        }
        return 0;
    });
    return list.Text();
}
