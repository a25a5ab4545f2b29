// The dial-up exports: the entry and connected lists, the connected test, and
// the dial and hang-up requests.
#include <string>
#include <utility>
#include <vector>

#include "core/app.h"
#include "dialup/ras_lists.h"
#include "dialup/ras_workers.h"

namespace {
ov::ResultBuffer g_entries;
ov::ResultBuffer g_list; // RASList's, also refilled by RASActive and RASDial

// Fills RASList's buffer, cut, from the connected names and returns them whole.
std::string PublishConnected(const std::vector<std::string>& names) {
    std::string joined = ov::ras::JoinNames(names);
    ov::CopyCut(g_list, joined);
    return joined;
}
} // namespace

const char* COvDEvedApp::RASEntries() {
    g_entries[0] = '\0';
    return ov::CallFrame<const char*>("COvDEvedApp::RASEntries", g_entries, [] {
        ov::CopyCut(g_entries, ov::ras::JoinNames(ov::ras::EntryNames()));
        return static_cast<const char*>(g_entries);
    });
}

const char* COvDEvedApp::RASList() {
    g_list[0] = '\0';
    return ov::CallFrame<const char*>("COvDEvedApp::RASList", g_list, [] {
        PublishConnected(ov::ras::ConnectedEntryNames());
        return static_cast<const char*>(g_list);
    });
}

short COvDEvedApp::RASActive(const char* entry) {
    return ov::CallFrame<short>("COvDEvedApp::RASActive", 0, [&]() -> short {
        const std::string name = ov::ras::Lower(entry);
        g_list[0] = '\0';
        // The whole list: a name past the cut of RASList's text is connected too.
        const std::string connected =
            ov::ras::Lower(PublishConnected(ov::ras::ConnectedEntryNames()));
        return connected.find(name) != std::string::npos ? 1 : 0;
    });
}

short COvDEvedApp::RASDial(const char* entry, const char* domain, const char* user,
                           const char* password) {
    return StartRequest<CRASDial>("COvDEvedApp::RASDial", "-1", [&](CRASDial& worker) {
        g_list[0] = '\0';
        std::vector<std::string> connected = ov::ras::ConnectedEntryNames();
        PublishConnected(connected);
        return worker.Start(&m_hRasConn, std::move(connected), entry, domain, user, password);
    });
}

short COvDEvedApp::RASHangUp(const char* entry) {
    return StartRequest<CRASHangUp>("COvDEvedApp::RASHangUp", "-1", [&](CRASHangUp& worker) {
        return worker.Start(&m_hRasConn, entry);
    });
}
