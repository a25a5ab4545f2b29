// The hang-up worker: ends the kept connection, or the first open connection
// of a named entry.
#include "dialup/ras_lists.h"
#include "dialup/ras_workers.h"

IMPLEMENT_DYNCREATE(CRASHangUp)

BOOL CRASHangUp::Start(ov::ras::KeptConnection* keptConnection, const char* entry) {
    m_phRasConn = keptConnection;
    m_strEntry = entry;
    return CreateThread();
}

BOOL CRASHangUp::InitInstance() {
    m_pSlot->SetText("0");
    bool hungUpNamed = false;
    if (m_strEntry.empty())
        ov::Dialup().RasHangUpA(m_phRasConn->Get()); // the kept handle stays
    else
        hungUpNamed = HangUpNamed();
    SetFinalText(hungUpNamed ? "1" : "0");
    // This worker ends through its own message loop, which takes the quit
    // request at once; a call on its own thread, not one of the service.
    PostQuitMessage(0);
    return TRUE;
}

bool CRASHangUp::HangUpNamed() const {
    for (const ov::ras::ConnectionRecord& connection : ov::ras::EnumerateConnections()) {
        if (!ov::ras::SameName(ov::ras::NameOf(connection.szEntryName), m_strEntry)) continue;
        ov::Dialup().RasHangUpA(connection.hrasconn); // the line is not awaited
        return true;
    }
    return false;
}
