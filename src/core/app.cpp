#include "core/app.h"

#include <stdexcept>

namespace {
ov::ResultBuffer g_getDataBuffer;
const char kOutOfRangeData[] = "0";
} // namespace

// The one application object, constructed when the module is loaded.
static COvDEvedApp theApp;

COvDEvedApp& TheApp() {
    AfxRunDeferredStartup();
    return theApp;
}

COvDEvedApp::COvDEvedApp() = default;
COvDEvedApp::~COvDEvedApp() = default;

BOOL COvDEvedApp::InitInstance() {
    ov::CallFrame<BOOL>(OV_APP_TRACE(InitInstance), TRUE, [this] {
        AfxSocketInit(); // the outcome does not matter: no export uses sockets
        m_slots.Reset();
        m_pFileList.store(nullptr);
        return TRUE;
    });
    return TRUE; // the module always finishes loading
}

short COvDEvedApp::IsActive(short slot) {
    if (!COperationSlotTable::InRange(slot)) return 0;
    return ov::CallFrame<short>(OV_APP_TRACE(IsActive), slot,
                                [&] { return static_cast<short>(m_slots[slot].IsActive()); });
}

const char* COvDEvedApp::GetData(short slot) {
    if (!COperationSlotTable::InRange(slot)) return kOutOfRangeData;
    return ov::TextFrame(OV_APP_TRACE(GetData), g_getDataBuffer,
                         [&](ov::ResultBuffer& text) { m_slots.Collect(slot, text); });
}

const CRuntimeClass& RequireRuntimeClass(const char* className) {
    const CRuntimeClass* record = CRuntimeClass::FromName(className);
    if (!record) throw std::logic_error("worker class not registered");
    return *record;
}
