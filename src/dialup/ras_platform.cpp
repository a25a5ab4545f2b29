#include "dialup/ras_platform.h"

#include "core/platform_binding.h"
#include "core/system_library.h"

namespace ov::ras {
namespace {

SystemLibrary g_rasapi32{"rasapi32.dll"};

// What a call answers when rasapi32 or the function is missing: any error
// code makes the lists empty and a dial fail, as when the service refuses.
constexpr DWORD kUnavailable = ERROR_PROC_NOT_FOUND;

// rasapi32 reads the layout from dwSize, so the old records pass as they are.
DWORD WINAPI SystemEnumEntries(LPCSTR reserved, LPCSTR phoneBook, EntryNameRecord* entries,
                               LPDWORD bytes, LPDWORD count) {
    const auto call = g_rasapi32.Find<decltype(&RasEnumEntriesA)>("RasEnumEntriesA");
    return call
               ? call(reserved, phoneBook, reinterpret_cast<LPRASENTRYNAMEA>(entries), bytes, count)
               : kUnavailable;
}

DWORD WINAPI SystemEnumConnections(ConnectionRecord* connections, LPDWORD bytes, LPDWORD count) {
    const auto call = g_rasapi32.Find<decltype(&RasEnumConnectionsA)>("RasEnumConnectionsA");
    return call ? call(reinterpret_cast<LPRASCONNA>(connections), bytes, count) : kUnavailable;
}

DWORD WINAPI SystemGetConnectStatus(HRASCONN connection, ConnectionStatusRecord* status) {
    const auto call = g_rasapi32.Find<decltype(&RasGetConnectStatusA)>("RasGetConnectStatusA");
    return call ? call(connection, reinterpret_cast<LPRASCONNSTATUSA>(status)) : kUnavailable;
}

DWORD WINAPI SystemDial(LPRASDIALEXTENSIONS extensions, LPCSTR phoneBook, DialParamsRecord* params,
                        DWORD notifierType, LPVOID notifier, HRASCONN* connection) {
    const auto call = g_rasapi32.Find<decltype(&RasDialA)>("RasDialA");
    return call ? call(extensions, phoneBook, reinterpret_cast<LPRASDIALPARAMSA>(params),
                       notifierType, notifier, connection)
                : kUnavailable;
}

DWORD WINAPI SystemHangUp(HRASCONN connection) {
    const auto call = g_rasapi32.Find<decltype(&RasHangUpA)>("RasHangUpA");
    return call ? call(connection) : kUnavailable;
}

const RasApi kSystemRas{&SystemEnumEntries, &SystemEnumConnections, &SystemGetConnectStatus,
                        &SystemDial, &SystemHangUp};

PlatformBinding<RasApi> g_active{kSystemRas};

} // namespace

const RasApi& Ras() { return g_active.Get(); }

void SetRasForTesting(const RasApi* api) { g_active.Replace(api); }

SystemLibrary& RasLibrary() { return g_rasapi32; }

} // namespace ov::ras
