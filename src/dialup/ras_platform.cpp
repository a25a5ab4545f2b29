#include "dialup/ras_platform.h"

#include "core/platform_binding.h"

namespace ov::ras {
namespace {

// rasapi32 reads the layout from dwSize, so the old records pass as they are.
DWORD WINAPI SystemEnumEntries(LPCSTR reserved, LPCSTR phoneBook, EntryNameRecord* entries,
                               LPDWORD bytes, LPDWORD count) {
    return RasEnumEntriesA(reserved, phoneBook, reinterpret_cast<LPRASENTRYNAMEA>(entries), bytes,
                           count);
}

DWORD WINAPI SystemEnumConnections(ConnectionRecord* connections, LPDWORD bytes, LPDWORD count) {
    return RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(connections), bytes, count);
}

DWORD WINAPI SystemGetConnectStatus(HRASCONN connection, ConnectionStatusRecord* status) {
    return RasGetConnectStatusA(connection, reinterpret_cast<LPRASCONNSTATUSA>(status));
}

DWORD WINAPI SystemDial(LPRASDIALEXTENSIONS extensions, LPCSTR phoneBook, DialParamsRecord* params,
                        DWORD notifierType, LPVOID notifier, HRASCONN* connection) {
    return RasDialA(extensions, phoneBook, reinterpret_cast<LPRASDIALPARAMSA>(params), notifierType,
                    notifier, connection);
}

DWORD WINAPI SystemHangUp(HRASCONN connection) { return RasHangUpA(connection); }

const RasApi kSystemRas{&SystemEnumEntries, &SystemEnumConnections, &SystemGetConnectStatus,
                        &SystemDial, &SystemHangUp};

PlatformBinding<RasApi> g_active{kSystemRas};

} // namespace

const RasApi& Ras() { return g_active.Get(); }

void SetRasForTesting(const RasApi* api) { g_active.Replace(api); }

} // namespace ov::ras
