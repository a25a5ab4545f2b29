// A simulated print spooler that records every call and can fail at any step.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "print/print_platform.h"

struct SpoolerCall {
    std::string name; // "Open", "StartDoc", "StartPage", "Write", "EndPage", "EndDoc", "Close"
    HANDLE printer = nullptr;
    std::string argument; // the printer name, "doc|output|datatype", or the bytes taken
};

class SimulatedSpooler {
  public:
    static inline const HANDLE kPrinter = reinterpret_cast<HANDLE>(0x5150);

    SimulatedSpooler();
    ~SimulatedSpooler();
    SimulatedSpooler(const SimulatedSpooler&) = delete;
    SimulatedSpooler& operator=(const SimulatedSpooler&) = delete;

    // The step (by call name) that reports failure; empty: none.
    void FailAt(std::string step);
    // Each write takes at most this many bytes; 0: all it is given.
    void TakeAtMost(DWORD bytes);
    // Once this many bytes are taken in all, writes succeed but take nothing.
    void StopTakingAfter(DWORD bytes);
    std::vector<SpoolerCall> Calls() const;
    std::vector<std::string> CallNames() const;

  private:
    static SimulatedSpooler* s_active;
    bool Record(const char* name, HANDLE printer, std::string argument);
    DWORD Take(DWORD offered);

    static BOOL WINAPI Open(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
    static DWORD WINAPI StartDoc(HANDLE printer, DWORD level, LPBYTE docInfo);
    static BOOL WINAPI StartPage(HANDLE printer);
    static BOOL WINAPI Write(HANDLE printer, LPVOID bytes, DWORD count, LPDWORD written);
    static BOOL WINAPI EndPage(HANDLE printer);
    static BOOL WINAPI EndDoc(HANDLE printer);
    static BOOL WINAPI Close(HANDLE printer);

    const ov::PrintPlatform m_platform;
    mutable std::mutex m_lock;
    std::vector<SpoolerCall> m_calls;
    std::string m_failAt;
    DWORD m_pieceLimit = 0;
    DWORD m_capacity = MAXDWORD;
    DWORD m_taken = 0;
};
