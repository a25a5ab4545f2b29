#include "support/file_printer.h"

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

FilePrinter::FilePrinter() {
    const std::string id =
        std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
    m_name = "OvDurAru File Printer " + id;
    m_hostPath = "/tmp/ovduraru_print_" + id + ".prn";
    m_windowsPath = "Z:" + m_hostPath;
    for (char& c : m_windowsPath)
        if (c == '/') c = '\\';

    char driver[] = "OvDurAru Test Driver", dll[] = "wineps.drv", ppd[] = "generic.ppd";
    DRIVER_INFO_3A di{};
    di.cVersion = 3;
    di.pName = driver;
    di.pDriverPath = dll;
    di.pDataFile = ppd;
    di.pConfigFile = dll;
    EXPECT_TRUE(AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&di)));

    char processor[] = "WinPrint", raw[] = "RAW";
    PRINTER_INFO_2A pi{};
    pi.pPrinterName = m_name.data();
    pi.pPortName = m_hostPath.data();
    pi.pDriverName = driver;
    pi.pPrintProcessor = processor;
    pi.pDatatype = raw;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&pi));
    EXPECT_NE(printer, nullptr) << GetLastError();
    if (printer) ClosePrinter(printer);
}

FilePrinter::~FilePrinter() {
    PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (OpenPrinterA(m_name.data(), &printer, &all)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    DeleteFileA(m_windowsPath.c_str());
}

void FilePrinter::ClearPort() const { DeleteFileA(m_windowsPath.c_str()); }

std::string FilePrinter::Arrived() const {
    for (int i = 0; i < 100 && GetFileAttributesA(m_windowsPath.c_str()) == INVALID_FILE_ATTRIBUTES;
         ++i)
        Sleep(20);
    std::ifstream in(m_windowsPath, std::ios::binary);
    if (!in) return "<nothing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
