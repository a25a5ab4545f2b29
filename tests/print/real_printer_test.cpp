// PrintLine through the DLL to a real Wine printer whose port is a file:
// the exact bytes of the text must arrive there, nothing added.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>

#include "support/ov_module.h"

namespace {

// A printer on Wine's PostScript driver whose port is a host file; the raw
// job bypasses the driver and lands in the file unchanged.
class FilePrinter {
  public:
    FilePrinter() {
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
    ~FilePrinter() {
        PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE printer = nullptr;
        if (OpenPrinterA(m_name.data(), &printer, &all)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        DeleteFileA(m_windowsPath.c_str());
    }
    FilePrinter(const FilePrinter&) = delete;
    FilePrinter& operator=(const FilePrinter&) = delete;

    const std::string& name() const { return m_name; }

    // Prints text through the DLL and returns the slot's code and what reached the port.
    std::pair<std::string, std::string> Print(const std::string& text) {
        DeleteFileA(m_windowsPath.c_str());
        auto& ov = OvModule::Get();
        const short slot = ov.PrintLine(m_name.c_str(), text.c_str());
        EXPECT_GE(slot, 0);
        const std::string code = slot < 0 ? "<no slot>" : ov.Wait(slot);
        for (int i = 0; i < 100 && !FileExists(m_windowsPath); ++i)
            Sleep(20);
        return {code, FileExists(m_windowsPath) ? ReadTextFile(m_windowsPath) : "<nothing>"};
    }

  private:
    std::string m_name;
    std::string m_hostPath;
    std::string m_windowsPath;
};

} // namespace

TEST(PrintLineWine, TheExactBytesReachTheFilePort) {
    FilePrinter printer;
    const std::string texts[] = {"AB\r\nCD\r\n", "no line end", "\f\tform feed and tab",
                                 std::string(259, 'x'), std::string(1000, 'y') + "\r\nend"};
    for (const auto& text : texts) {
        const auto [code, arrived] = printer.Print(text);
        EXPECT_EQ(code, "1") << text.substr(0, 20);
        EXPECT_EQ(arrived, text) << text.substr(0, 20);
    }
}

TEST(PrintLineWine, AnEmptyTextMakesAnEmptyJob) {
    FilePrinter printer;
    const auto [code, arrived] = printer.Print("");
    EXPECT_EQ(code, "1");
    EXPECT_EQ(arrived, "");
}
