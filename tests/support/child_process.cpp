#include "support/child_process.h"

#include <gtest/gtest.h>

#include "support/ov_module.h"

namespace {

ov::UniqueFile InheritableFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return ov::UniqueFile(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

ProgramRun RunProgram(const std::string& exe, const std::string& tail, const std::string& dir) {
    const std::string outPath = dir + "\\program.out", errPath = dir + "\\program.err";
    ProgramRun run;
    {
        const auto in = InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING);
        const auto out = InheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);
        const auto err = InheritableFile(errPath, GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = in.get();
        si.hStdOutput = out.get();
        si.hStdError = err.get();
        PROCESS_INFORMATION pi{};
        std::string command = "\"" + exe + "\" " + tail;
        if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            dir.c_str(), &si, &pi)) {
            ADD_FAILURE() << "cannot start " << exe << " (error " << GetLastError() << ")";
            return run;
        }
        const ov::UniqueHandle process(pi.hProcess), thread(pi.hThread);
        if (WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << command << " still running after 120 s";
            TerminateProcess(pi.hProcess, 99);
            WaitForSingleObject(pi.hProcess, 10000);
        }
        GetExitCodeProcess(pi.hProcess, &run.status);
    }
    run.out = ReadTextFile(outPath);
    run.err = ReadTextFile(errPath);
    return run;
}

ChildProcess::ChildProcess(std::string commandLine) : m_commandLine(std::move(commandLine)) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string text = m_commandLine;
    if (!CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return;
    CloseHandle(process.hThread);
    m_process.reset(process.hProcess);
}

ChildProcess::~ChildProcess() {
    if (m_process) TerminateProcess(m_process.get(), 1);
}

long ChildProcess::Finish(DWORD timeoutMs) {
    if (!m_process) return -1;
    if (WaitForSingleObject(m_process.get(), timeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "still running after " << timeoutMs << " ms: " << m_commandLine;
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.get(), &code);
    m_process.reset();
    return static_cast<long>(code);
}

std::string ThisProgram() {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    return std::string(self, n);
}
