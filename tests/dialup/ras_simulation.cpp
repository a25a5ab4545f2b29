#include "dialup/ras_simulation.h"

#include <raserror.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

#include "support/wait_for.h"

namespace ras_sim {
namespace {

SimulatedRas* g_current = nullptr;

template <std::size_t N> void Put(CHAR (&field)[N], const std::string& text) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

template <std::size_t N> std::string Get(const CHAR (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The sizes the service accepts in dwSize, written down here rather than taken
// from the module's records: the old layouts, with a pointer-sized handle in
// the connection record.
constexpr DWORD kEntryNameSize = 264;
constexpr DWORD kConnectionSize = sizeof(void*) == 8 ? 416 : 412;
constexpr DWORD kStatusSize = 160;
constexpr DWORD kDialParamsSize = 1052;

template <class Record> constexpr DWORD AcceptedSize() {
    if constexpr (std::is_same_v<Record, ov::ras::EntryNameRecord>)
        return kEntryNameSize;
    else
        return kConnectionSize;
}

// The service's sizing contract: a buffer too small gets the bytes needed and
// ERROR_BUFFER_TOO_SMALL; a large enough one is filled.
template <class Record, class Fill>
DWORD Answer(Record* buffer, LPDWORD bytes, LPDWORD count, std::size_t available, Fill&& fill) {
    if (!buffer || !bytes || !count || buffer->dwSize != AcceptedSize<Record>())
        return ERROR_INVALID_SIZE;
    const DWORD needed = static_cast<DWORD>(available * sizeof(Record));
    *count = static_cast<DWORD>(available);
    if (*bytes < needed) {
        *bytes = needed;
        return ERROR_BUFFER_TOO_SMALL;
    }
    *bytes = needed;
    for (std::size_t i = 0; i < available; ++i) {
        buffer[i] = Record{};
        buffer[i].dwSize = sizeof(Record);
        fill(buffer[i], i);
    }
    return ERROR_SUCCESS;
}

} // namespace

SimulatedRas::SimulatedRas() {
    g_current = this;
    static const ov::DialupPlatform api{&EnumEntries, &EnumConnections, &GetConnectStatus, &Dial,
                                        &HangUp};
    ov::SetPlatformForTesting(&api);
}

SimulatedRas::~SimulatedRas() {
    ov::SetPlatformForTesting<ov::DialupPlatform>(nullptr);
    g_current = nullptr;
}

void SimulatedRas::AddEntry(const std::string& name) {
    const std::lock_guard lock(m_lock);
    m_entries.push_back(name);
}

void SimulatedRas::AddEntriesAfterNextSizing(std::vector<std::string> names) {
    const std::lock_guard lock(m_lock);
    m_entriesAfterSizing = std::move(names);
}

HRASCONN SimulatedRas::Open(const std::string& entry, DWORD state, bool statusReadable) {
    const std::lock_guard lock(m_lock);
    return OpenLocked(entry, state, statusReadable);
}

HRASCONN SimulatedRas::OpenLocked(const std::string& entry, DWORD state, bool statusReadable) {
    const auto handle = reinterpret_cast<HRASCONN>(m_nextHandle += 0x10);
    m_connections.push_back({handle, entry, state, statusReadable});
    return handle;
}

void SimulatedRas::OpenAfterNextSizing(std::vector<std::string> entries) {
    const std::lock_guard lock(m_lock);
    m_connectionsAfterSizing = std::move(entries);
}

void SimulatedRas::SetDialOutcome(DialOutcome outcome) {
    const std::lock_guard lock(m_lock);
    m_outcome = outcome;
}

void SimulatedRas::SetDialOutcomeFor(const std::string& entry, DialOutcome outcome) {
    const std::lock_guard lock(m_lock);
    m_outcomeOf[entry] = outcome;
}

void SimulatedRas::HoldDials() { ResetEvent(m_dialsOpen.get()); }
void SimulatedRas::ReleaseDials() { SetEvent(m_dialsOpen.get()); }

bool SimulatedRas::WaitForHeldDials(int count, DWORD timeoutMs) const {
    return WaitFor(
        [&] {
            const std::lock_guard lock(m_lock);
            return m_heldDials >= count;
        },
        timeoutMs, std::to_string(count) + " dials in the hold");
}

void SimulatedRas::HoldConnectionListing() { ResetEvent(m_listingOpen.get()); }
void SimulatedRas::ReleaseConnectionListing() { SetEvent(m_listingOpen.get()); }

std::vector<Connection> SimulatedRas::Connections() const {
    const std::lock_guard lock(m_lock);
    return m_connections;
}

std::vector<DialCall> SimulatedRas::Dials() const {
    const std::lock_guard lock(m_lock);
    return m_dials;
}

std::vector<HRASCONN> SimulatedRas::HangUps() const {
    const std::lock_guard lock(m_lock);
    return m_hangUps;
}

bool SimulatedRas::OnlyDefaultPhoneBookAsked() const {
    const std::lock_guard lock(m_lock);
    return !m_otherPhoneBookAsked;
}

DWORD WINAPI SimulatedRas::EnumEntries(LPCSTR reserved, LPCSTR phoneBook,
                                       LPRASENTRYNAMEA platformEntries, LPDWORD bytes,
                                       LPDWORD count) {
    auto* entries = reinterpret_cast<ov::ras::EntryNameRecord*>(platformEntries);
    SimulatedRas& self = *g_current;
    const std::lock_guard lock(self.m_lock);
    if (reserved || phoneBook) self.m_otherPhoneBookAsked = true;
    const DWORD rc = Answer(entries, bytes, count, self.m_entries.size(),
                            [&](ov::ras::EntryNameRecord& record, std::size_t i) {
                                Put(record.szEntryName, self.m_entries[i]);
                            });
    if (rc == ERROR_BUFFER_TOO_SMALL) {
        for (std::string& name : self.m_entriesAfterSizing)
            self.m_entries.push_back(name);
        self.m_entriesAfterSizing.clear();
    }
    return rc;
}

DWORD WINAPI SimulatedRas::EnumConnections(LPRASCONNA platformConnections, LPDWORD bytes,
                                           LPDWORD count) {
    auto* connections = reinterpret_cast<ov::ras::ConnectionRecord*>(platformConnections);
    SimulatedRas& self = *g_current;
    WaitForSingleObject(self.m_listingOpen.get(), INFINITE);
    const std::lock_guard lock(self.m_lock);
    const DWORD rc = Answer(connections, bytes, count, self.m_connections.size(),
                            [&](ov::ras::ConnectionRecord& record, std::size_t i) {
                                record.hrasconn = self.m_connections[i].handle;
                                Put(record.szEntryName, self.m_connections[i].entry);
                                Put(record.szDeviceType, "modem");
                            });
    if (rc == ERROR_BUFFER_TOO_SMALL) {
        for (const std::string& entry : self.m_connectionsAfterSizing)
            self.OpenLocked(entry, ov::ras::kConnected, true);
        self.m_connectionsAfterSizing.clear();
    }
    return rc;
}

DWORD WINAPI SimulatedRas::GetConnectStatus(HRASCONN connection, LPRASCONNSTATUSA platformStatus) {
    auto* status = reinterpret_cast<ov::ras::ConnectionStatusRecord*>(platformStatus);
    SimulatedRas& self = *g_current;
    const std::lock_guard lock(self.m_lock);
    if (self.m_lastParams && self.m_lastDialThread == GetCurrentThreadId()) {
        // Asked right after a dial on the dialling thread: its record still exists.
        const ov::ras::DialParamsRecord& params = *self.m_lastParams;
        self.m_dials.back().passwordWipedBeforeStatusQuery =
            std::all_of(std::begin(params.szPassword), std::end(params.szPassword),
                        [](CHAR c) { return c == 0; });
        self.m_lastParams = nullptr;
    }
    if (!status || status->dwSize != kStatusSize) return ERROR_INVALID_SIZE;
    const auto it = std::find_if(self.m_connections.begin(), self.m_connections.end(),
                                 [&](const Connection& c) { return c.handle == connection; });
    if (it == self.m_connections.end() || !it->statusReadable) return ERROR_INVALID_HANDLE;
    status->rasconnstate = it->state;
    status->dwError = 0;
    Put(status->szDeviceType, "modem");
    return ERROR_SUCCESS;
}

DWORD WINAPI SimulatedRas::Dial(LPRASDIALEXTENSIONS extensions, LPCSTR phoneBook,
                                LPRASDIALPARAMSA platformParams, DWORD notifierType,
                                LPVOID notifier, HRASCONN* connection) {
    auto* params = reinterpret_cast<ov::ras::DialParamsRecord*>(platformParams);
    SimulatedRas& self = *g_current;
    std::unique_lock lock(self.m_lock);
    DialCall call;
    call.size = params->dwSize;
    call.entry = Get(params->szEntryName);
    call.phone = Get(params->szPhoneNumber);
    call.callback = Get(params->szCallbackNumber);
    call.user = Get(params->szUserName);
    call.password = Get(params->szPassword);
    call.domain = Get(params->szDomain);
    call.defaultPhoneBook = phoneBook == nullptr;
    call.noExtensions = extensions == nullptr;
    call.notifierType = notifierType;
    call.noNotifier = notifier == nullptr;
    call.passwordWipedBeforeStatusQuery = false;
    self.m_dials.push_back(call);
    self.m_lastParams = params;
    self.m_lastDialThread = GetCurrentThreadId();
    if (params->dwSize != kDialParamsSize) return ERROR_INVALID_SIZE;

    const std::string name = call.entry.empty() ? call.phone : call.entry;
    const auto chosen = self.m_outcomeOf.find(name);
    const DialOutcome outcome = chosen == self.m_outcomeOf.end() ? self.m_outcome : chosen->second;
    DWORD rc = ERROR_NO_ANSWER;
    switch (outcome) {
    case DialOutcome::Connects:
        *connection = self.OpenLocked(name, ov::ras::kConnected, true);
        rc = ERROR_SUCCESS;
        break;
    case DialOutcome::StaysDialling:
        *connection = self.OpenLocked(name, RASCS_Authenticate, true);
        rc = ERROR_SUCCESS;
        break;
    case DialOutcome::Disconnects:
        *connection = self.OpenLocked(name, ov::ras::kDisconnected, true);
        rc = ERROR_LINE_BUSY;
        break;
    case DialOutcome::StatusUnreadable:
        *connection = self.OpenLocked(name, ov::ras::kConnected, false);
        rc = ERROR_SUCCESS;
        break;
    case DialOutcome::Fails:
        break;
    }
    ++self.m_heldDials;
    lock.unlock();
    // The handle is given; an overlapping dial may give its own meanwhile.
    WaitForSingleObject(self.m_dialsOpen.get(), 30000);
    lock.lock();
    --self.m_heldDials;
    return rc;
}

DWORD WINAPI SimulatedRas::HangUp(HRASCONN connection) {
    SimulatedRas& self = *g_current;
    const std::lock_guard lock(self.m_lock);
    self.m_hangUps.push_back(connection);
    const auto it = std::find_if(self.m_connections.begin(), self.m_connections.end(),
                                 [&](const Connection& c) { return c.handle == connection; });
    if (it == self.m_connections.end()) return ERROR_INVALID_HANDLE;
    self.m_connections.erase(it);
    return ERROR_SUCCESS;
}

} // namespace ras_sim
