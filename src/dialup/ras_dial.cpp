// The dial worker: dials an entry of the default phone book, or a number
// given as "@number", and reports whether the new connection is up.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "dialup/ras_lists.h"
#include "dialup/ras_workers.h"

IMPLEMENT_DYNCREATE(CRASDial)

namespace {

// Copies text into a record field with its terminator; false when it does not fit.
template <std::size_t N> bool CopyField(CHAR (&field)[N], std::string_view text) {
    if (text.size() >= N) return false;
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

} // namespace

CRASDial::~CRASDial() { WipePassword(); }

BOOL CRASDial::Start(ov::ras::KeptConnection* keptConnection, std::vector<std::string> connected,
                     const char* entry, const char* domain, const char* user,
                     const char* password) {
    m_phRasConn = keptConnection;
    m_connectedEntries = std::move(connected);
    m_strEntry = entry;
    m_strDomain = domain;
    m_strUser = user;
    m_strPassword = password; // one copy, into the empty field: no stray buffers
    return CreateThread();
}

BOOL CRASDial::InitInstance() { return FinishRequest(DialAndReport()); }

std::string CRASDial::DialAndReport() {
    // Every dial starts the kept handle afresh, a refused one too.
    const auto dial = m_phRasConn->BeginDial();
    ov::ras::DialParamsRecord params{};
    const bool fits = FillDialParams(params);
    WipePassword(); // from here on the record holds the only copy
    // Judged on its own handle, so an overlapping dial never changes what this one reports.
    HRASCONN connection = nullptr;
    if (fits) {
        // With no notifier the dial returns once the line is up or has failed.
        ov::Dialup().RasDialA(nullptr, nullptr, ov::ras::ToPlatform(&params), 0, nullptr,
                              &connection);
        m_phRasConn->Publish(dial, connection);
    }
    SecureZeroMemory(&params, sizeof(params));
    // A credential that does not fit is refused, never cut: cut, it would dial
    // with the wrong one.
    return fits ? Outcome(connection) : "-1";
}

bool CRASDial::FillDialParams(ov::ras::DialParamsRecord& params) const {
    params.dwSize = sizeof(params);
    const std::string_view entry = m_strEntry;
    if (DialsNumber()) {
        if (!CopyField(params.szPhoneNumber, entry.substr(1))) return false;
    } else {
        CopyField(params.szEntryName, entry.substr(0, ov::ras::kMaxEntryName));
    }
    return CopyField(params.szUserName, m_strUser) && CopyField(params.szPassword, m_strPassword) &&
           CopyField(params.szDomain, m_strDomain);
}

std::string CRASDial::Outcome(HRASCONN connection) const {
    ov::ras::ConnectionStatusRecord status{};
    status.dwSize = sizeof(status);
    if (ov::Dialup().RasGetConnectStatusA(connection, ov::ras::ToPlatform(&status)) ==
        ERROR_SUCCESS) {
        if (status.rasconnstate == ov::ras::kConnected) return "1";
        if (status.rasconnstate == ov::ras::kDisconnected) return "0";
        return "-1";
    }
    return WasConnected() ? "1" : "-1";
}

bool CRASDial::WasConnected() const {
    // Only a named phone-book entry counts: the empty text occurs in every
    // list, and a number names no entry.
    if (m_strEntry.empty() || DialsNumber()) return false;
    const std::string_view dialled = std::string_view(m_strEntry).substr(0, ov::ras::kMaxEntryName);
    return std::any_of(m_connectedEntries.begin(), m_connectedEntries.end(),
                       [&](const std::string& name) { return ov::ras::SameName(name, dialled); });
}

void CRASDial::WipePassword() {
    if (!m_strPassword.empty()) SecureZeroMemory(m_strPassword.data(), m_strPassword.size());
    m_strPassword.clear();
}
