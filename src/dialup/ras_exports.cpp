// The dial-up exports: the entry and connected lists, the connected test, and
// the dial and hang-up requests.
#include <string>
#include <utility>
#include <vector>

#include "core/app.h"
#include "core/call_frame.h"
#include "core/result_buffer.h"
#include "dialup/kept_connection.h"
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
    return ov::TextFrame(OV_APP_TRACE(RASEntries), g_entries, [](ov::ResultBuffer& text) {
        ov::CopyCut(text, ov::ras::JoinNames(ov::ras::EntryNames()));
    });
}

const char* COvDEvedApp::RASList() {
    return ov::TextFrame(OV_APP_TRACE(RASList), g_list, [](ov::ResultBuffer&) {
        PublishConnected(ov::ras::ConnectedEntryNames());
    });
}

short COvDEvedApp::RASActive(const char* entry) {
    return ov::CallFrame<short>(OV_APP_TRACE(RASActive), 0, [&]() -> short {
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
    return StartRequest<CRASDial>(OV_APP_TRACE(RASDial), "-1", [&](CRASDial& worker) {
        g_list[0] = '\0';
        std::vector<std::string> connected = ov::ras::ConnectedEntryNames();
        PublishConnected(connected);
        return worker.Start(&ov::ModuleObject(m_hRasConn), std::move(connected), entry, domain,
                            user, password);
    });
}

short COvDEvedApp::RASHangUp(const char* entry) {
    return StartRequest<CRASHangUp>(OV_APP_TRACE(RASHangUp), "-1", [&](CRASHangUp& worker) {
        return worker.Start(&ov::ModuleObject(m_hRasConn), entry);
    });
}
