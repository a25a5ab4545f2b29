#include "print/simulated_spooler.h"

#include <gtest/gtest.h>

#include <algorithm>

SimulatedSpooler* SimulatedSpooler::s_active = nullptr;

SimulatedSpooler::SimulatedSpooler()
    : m_platform{&Open, &StartDoc, &StartPage, &Write, &EndPage, &EndDoc, &Close} {
    s_active = this;
    ov::SetPlatformForTesting(&m_platform);
}

SimulatedSpooler::~SimulatedSpooler() {
    ov::SetPlatformForTesting<ov::PrintPlatform>(nullptr);
    s_active = nullptr;
}

void SimulatedSpooler::FailAt(std::string step) {
    std::lock_guard lock(m_lock);
    m_failAt = std::move(step);
}

void SimulatedSpooler::TakeAtMost(DWORD bytes) {
    std::lock_guard lock(m_lock);
    m_pieceLimit = bytes;
}

void SimulatedSpooler::StopTakingAfter(DWORD bytes) {
    std::lock_guard lock(m_lock);
    m_capacity = bytes;
}

std::vector<SpoolerCall> SimulatedSpooler::Calls() const {
    std::lock_guard lock(m_lock);
    return m_calls;
}

std::vector<std::string> SimulatedSpooler::CallNames() const {
    std::vector<std::string> names;
    for (const auto& call : Calls())
        names.push_back(call.name);
    return names;
}

bool SimulatedSpooler::Record(const char* name, HANDLE printer, std::string argument) {
    std::lock_guard lock(m_lock);
    m_calls.push_back({name, printer, std::move(argument)});
    return m_failAt != name;
}

DWORD SimulatedSpooler::Take(DWORD offered) {
    std::lock_guard lock(m_lock);
    DWORD taken = std::min(offered, m_capacity - m_taken);
    if (m_pieceLimit) taken = std::min(taken, m_pieceLimit);
    m_taken += taken;
    return taken;
}

BOOL WINAPI SimulatedSpooler::Open(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    EXPECT_EQ(defaults, nullptr);
    if (!s_active->Record("Open", nullptr, name)) return FALSE;
    *printer = kPrinter;
    return TRUE;
}

DWORD WINAPI SimulatedSpooler::StartDoc(HANDLE printer, DWORD level, LPBYTE docInfo) {
    EXPECT_EQ(level, 1u);
    const auto* doc = reinterpret_cast<const DOC_INFO_1A*>(docInfo);
    const auto text = [](const char* s) { return s ? std::string(s) : std::string("<null>"); };
    const std::string description =
        text(doc->pDocName) + "|" + text(doc->pOutputFile) + "|" + text(doc->pDatatype);
    return s_active->Record("StartDoc", printer, description) ? 7 : 0;
}

BOOL WINAPI SimulatedSpooler::StartPage(HANDLE printer) {
    return s_active->Record("StartPage", printer, "");
}

BOOL WINAPI SimulatedSpooler::Write(HANDLE printer, LPVOID bytes, DWORD count, LPDWORD written) {
    const DWORD taken = s_active->Take(count);
    const bool ok =
        s_active->Record("Write", printer, std::string(static_cast<const char*>(bytes), taken));
    *written = ok ? taken : 0;
    return ok;
}

BOOL WINAPI SimulatedSpooler::EndPage(HANDLE printer) {
    return s_active->Record("EndPage", printer, "");
}

BOOL WINAPI SimulatedSpooler::EndDoc(HANDLE printer) {
    return s_active->Record("EndDoc", printer, "");
}

BOOL WINAPI SimulatedSpooler::Close(HANDLE printer) {
    s_active->Record("Close", printer, "");
    return FALSE; // never consulted
}
