#include "dialup/ras_lists.h"

#include <algorithm>

namespace ov::ras {
namespace {

// The two-call enumeration: a sizing call with no room, then one with room for
// one record more than reported, in case one was added in between.
template <class Record, class Call> std::vector<Record> Enumerate(Call&& call) {
    Record probe{};
    probe.dwSize = sizeof(Record);
    DWORD bytes = 0;
    DWORD count = 0;
    call(&probe, &bytes, &count); // answers "too small"; only the size counts
    if (bytes == 0) return {};

    std::vector<Record> records(bytes / sizeof(Record) + 1);
    records[0].dwSize = sizeof(Record);
    bytes = static_cast<DWORD>(records.size() * sizeof(Record));
    count = 0;
    if (call(records.data(), &bytes, &count) != ERROR_SUCCESS) return {};
    records.resize(std::min<std::size_t>(count, records.size()));
    return records;
}

bool IsConnected(HRASCONN connection) {
    ConnectionStatusRecord status{};
    status.dwSize = sizeof(status);
    return Dialup().RasGetConnectStatusA(connection, ToPlatform(&status)) == ERROR_SUCCESS &&
           status.rasconnstate == kConnected;
}

} // namespace

std::vector<EntryNameRecord> EnumerateEntries() {
    return Enumerate<EntryNameRecord>([](EntryNameRecord* buffer, LPDWORD bytes, LPDWORD count) {
        return Dialup().RasEnumEntriesA(nullptr, nullptr, ToPlatform(buffer), bytes, count);
    });
}

std::vector<ConnectionRecord> EnumerateConnections() {
    return Enumerate<ConnectionRecord>([](ConnectionRecord* buffer, LPDWORD bytes, LPDWORD count) {
        return Dialup().RasEnumConnectionsA(ToPlatform(buffer), bytes, count);
    });
}

std::vector<std::string> EntryNames() {
    std::vector<std::string> names;
    for (const EntryNameRecord& entry : EnumerateEntries())
        names.push_back(NameOf(entry.szEntryName));
    return names;
}

std::vector<std::string> ConnectedEntryNames() {
    std::vector<std::string> names;
    for (const ConnectionRecord& connection : EnumerateConnections())
        if (IsConnected(connection.hrasconn)) names.push_back(NameOf(connection.szEntryName));
    return names;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i != 0) joined += ',';
        joined += names[i];
    }
    return joined;
}

// The locale's lower case, called directly: it is no call of the service.
std::string Lower(std::string_view text) {
    std::string lowered(text);
    if (!lowered.empty()) CharLowerBuffA(lowered.data(), static_cast<DWORD>(lowered.size()));
    return lowered;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Lower(a) == Lower(b);
}

} // namespace ov::ras
