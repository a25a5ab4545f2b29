// The remote access service as the dial-up subsystem sees it: the older
// record layouts (their size in dwSize selects them) and the five calls made,
// reached through a table that tests may replace with a simulated service.
#pragma once

#include <windows.h>

#include <ras.h>

#include <cstddef>

#include "core/platform_binding.h"

namespace ov {
class SystemLibrary;
}

namespace ov::ras {

inline constexpr DWORD kMaxEntryName = 256;
inline constexpr DWORD kMaxPhoneNumber = 128;
inline constexpr DWORD kMaxUserName = 256;
inline constexpr DWORD kMaxPassword = 256;
inline constexpr DWORD kMaxDomain = 15;

// The headers pick newer, larger layouts for our WINVER; these are the old ones,
// packed to 4 bytes as the service's own headers pack them.
#pragma pack(push, 4)
struct EntryNameRecord {
    DWORD dwSize;
    CHAR szEntryName[kMaxEntryName + 1];
};

struct ConnectionRecord {
    DWORD dwSize;
    HRASCONN hrasconn;
    CHAR szEntryName[kMaxEntryName + 1];
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
};

struct ConnectionStatusRecord {
    DWORD dwSize;
    DWORD rasconnstate;
    DWORD dwError;
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
};

struct DialParamsRecord {
    DWORD dwSize;
    CHAR szEntryName[kMaxEntryName + 1];
    CHAR szPhoneNumber[kMaxPhoneNumber + 1];
    CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
    CHAR szUserName[kMaxUserName + 1];
    CHAR szPassword[kMaxPassword + 1];
    CHAR szDomain[kMaxDomain + 1];
};

#pragma pack(pop)

// The sizes the service knows these layouts by; only the connection record
// differs between 32 and 64 bits, through its pointer-sized handle.
static_assert(sizeof(EntryNameRecord) == 264);
static_assert(sizeof(ConnectionRecord) == (sizeof(HRASCONN) == 8 ? 416 : 412));
static_assert(offsetof(ConnectionRecord, szEntryName) == (sizeof(HRASCONN) == 8 ? 12 : 8));
static_assert(sizeof(ConnectionStatusRecord) == 160);
static_assert(sizeof(DialParamsRecord) == 1052);

// The platform's record types, which the calls take; the service reads the
// layout from dwSize.
inline LPRASENTRYNAMEA ToPlatform(EntryNameRecord* r) {
    return reinterpret_cast<LPRASENTRYNAMEA>(r);
}
inline LPRASCONNA ToPlatform(ConnectionRecord* r) { return reinterpret_cast<LPRASCONNA>(r); }
inline LPRASCONNSTATUSA ToPlatform(ConnectionStatusRecord* r) {
    return reinterpret_cast<LPRASCONNSTATUSA>(r);
}
inline LPRASDIALPARAMSA ToPlatform(DialParamsRecord* r) {
    return reinterpret_cast<LPRASDIALPARAMSA>(r);
}

inline constexpr DWORD kConnected = RASCS_Connected;
inline constexpr DWORD kDisconnected = RASCS_Disconnected;
static_assert(kConnected == 0x2000 && kDisconnected == 0x2001);

} // namespace ov::ras

namespace ov {

#define OV_DIALUP_CALLS(X)                                                                         \
    X(RasEnumEntriesA) X(RasEnumConnectionsA) X(RasGetConnectStatusA) X(RasDialA) X(RasHangUpA)

struct DialupPlatform {
    OV_DIALUP_CALLS(OV_PLATFORM_MEMBER)
    static const DialupPlatform kSystem;
};

inline const DialupPlatform& Dialup() { return Platform<DialupPlatform>(); }
// rasapi32, loaded from the system folder on first use; tests may rename it.
SystemLibrary& RasLibrary();

} // namespace ov
