// A simulated remote access service for in-process tests: a phone book, open
// connections with handle, entry name and state, dials with a chosen outcome,
// and a record of every dial and hang-up. It keeps the service's two-call
// sizing contract. Installed for the life of the object.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/handles.h"
#include "dialup/dialup_platform.h"

namespace ras_sim {

enum class DialOutcome {
    Connects,         // a connection in the connected state
    StaysDialling,    // a connection still authenticating
    Disconnects,      // a connection that is reported disconnected
    Fails,            // no connection, no handle
    StatusUnreadable, // a connection whose status cannot be read
};

struct Connection {
    HRASCONN handle;
    std::string entry;
    DWORD state;
    bool statusReadable;
};

// What one dial was given.
struct DialCall {
    DWORD size = 0;
    std::string entry, phone, callback, user, password, domain;
    bool defaultPhoneBook = false;
    bool noExtensions = false;
    DWORD notifierType = 0;
    bool noNotifier = false;
    // Whether the dial record held no password any more when the status was asked.
    bool passwordWipedBeforeStatusQuery = false;
};

class SimulatedRas {
  public:
    SimulatedRas();
    ~SimulatedRas();
    SimulatedRas(const SimulatedRas&) = delete;
    SimulatedRas& operator=(const SimulatedRas&) = delete;

    void AddEntry(const std::string& name);
    // Adds names to the phone book right after the next sizing call answers.
    void AddEntriesAfterNextSizing(std::vector<std::string> names);
    HRASCONN Open(const std::string& entry, DWORD state = ov::ras::kConnected,
                  bool statusReadable = true);
    // Opens connections right after the next sizing call of the connections answers.
    void OpenAfterNextSizing(std::vector<std::string> entries);
    void SetDialOutcome(DialOutcome outcome);
    // The outcome of dials of this entry, whatever SetDialOutcome says.
    void SetDialOutcomeFor(const std::string& entry, DialOutcome outcome);
    // While held, each dial, once it has given its handle, waits until released.
    void HoldDials();
    void ReleaseDials();
    // Waits until this many dials wait in the hold; false, failing the test, after the timeout.
    bool WaitForHeldDials(int count, DWORD timeoutMs) const;
    // While held, listing the connections waits until released.
    void HoldConnectionListing();
    void ReleaseConnectionListing();

    std::vector<Connection> Connections() const;
    std::vector<DialCall> Dials() const;
    std::vector<HRASCONN> HangUps() const;
    // Whether every enumeration asked the default phone book with a null reserved argument.
    bool OnlyDefaultPhoneBookAsked() const;

  private:
    // The service's calls; the records are the old layouts the module passes.
    static DWORD WINAPI EnumEntries(LPCSTR reserved, LPCSTR phoneBook, LPRASENTRYNAMEA entries,
                                    LPDWORD bytes, LPDWORD count);
    static DWORD WINAPI EnumConnections(LPRASCONNA connections, LPDWORD bytes, LPDWORD count);
    static DWORD WINAPI GetConnectStatus(HRASCONN connection, LPRASCONNSTATUSA status);
    static DWORD WINAPI Dial(LPRASDIALEXTENSIONS extensions, LPCSTR phoneBook,
                             LPRASDIALPARAMSA platformParams, DWORD notifierType, LPVOID notifier,
                             HRASCONN* connection);
    static DWORD WINAPI HangUp(HRASCONN connection);

    HRASCONN OpenLocked(const std::string& entry, DWORD state, bool statusReadable);

    ov::UniqueHandle m_listingOpen{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
    ov::UniqueHandle m_dialsOpen{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
    mutable std::mutex m_lock;
    std::vector<std::string> m_entries;
    std::vector<std::string> m_entriesAfterSizing;
    std::vector<Connection> m_connections;
    std::vector<std::string> m_connectionsAfterSizing;
    DialOutcome m_outcome = DialOutcome::Connects;
    std::map<std::string, DialOutcome> m_outcomeOf;
    int m_heldDials = 0;
    std::vector<DialCall> m_dials;
    const ov::ras::DialParamsRecord* m_lastParams = nullptr;
    DWORD m_lastDialThread = 0;
    std::vector<HRASCONN> m_hangUps;
    bool m_otherPhoneBookAsked = false;
    UINT_PTR m_nextHandle = 0x1000;
};

} // namespace ras_sim
