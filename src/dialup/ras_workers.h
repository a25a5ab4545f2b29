// The dial and hang-up workers. Both share the application object's kept
// connection handle, which holds the handle of the latest dial.
#pragma once

#include <string>
#include <vector>

#include "core/worker.h"
#include "dialup/kept_connection.h"
#include "dialup/dialup_platform.h"

class CRASDial : public CSlotWorker {
    DECLARE_WORKER(CRASDial)
  public:
    CRASDial() = default;
    ~CRASDial() override;

    // connected: the entries connected when the request was made.
    BOOL Start(ov::ras::KeptConnection* keptConnection, std::vector<std::string> connected,
               const char* entry, const char* domain, const char* user, const char* password);
    BOOL InitInstance() override;

    ov::ras::KeptConnection* m_phRasConn = nullptr;
    std::vector<std::string> m_connectedEntries;
    std::string m_strEntry;
    std::string m_strDomain;
    std::string m_strUser;
    std::string m_strPassword;

  private:
    std::string DialAndReport();
    bool FillDialParams(ov::ras::DialParamsRecord& params) const;
    std::string Outcome(HRASCONN connection) const;
    bool DialsNumber() const { return !m_strEntry.empty() && m_strEntry.front() == '@'; }
    bool WasConnected() const;
    void WipePassword();
};

class CRASHangUp : public CSlotWorker {
    DECLARE_WORKER(CRASHangUp)
  public:
    BOOL Start(ov::ras::KeptConnection* keptConnection, const char* entry);
    BOOL InitInstance() override;

    ov::ras::KeptConnection* m_phRasConn = nullptr;
    std::string m_strEntry;

  private:
    // Hangs up the first open connection of m_strEntry; false when there is none.
    bool HangUpNamed() const;
};
