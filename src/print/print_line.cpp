#include "print/print_line.h"

#include <algorithm>
#include <string_view>

#include "core/app.h"
#include "core/call_frame.h"
#include "print/print_platform.h"

namespace {

// One raw job on an open printer. Whatever stage the job reaches, leaving
// the scope undoes exactly the stages that succeeded, newest first: the page,
// then the document, then the printer handle.
class SpoolerJob {
  public:
    explicit SpoolerJob(const ov::PrintPlatform& spooler) : m_spooler(spooler) {}
    SpoolerJob(const SpoolerJob&) = delete;
    SpoolerJob& operator=(const SpoolerJob&) = delete;
    ~SpoolerJob() {
        if (m_pageOpen) m_spooler.EndPagePrinter(m_printer);
        if (m_docOpen) m_spooler.EndDocPrinter(m_printer);
        if (m_printer) m_spooler.ClosePrinter(m_printer);
    }

    bool Open(std::string name) {
        HANDLE printer = nullptr;
        if (!m_spooler.OpenPrinterA(name.data(), &printer, nullptr)) return false;
        m_printer = printer;
        return true;
    }
    bool StartDoc() {
        char docName[] = "TestDoc";
        char dataType[] = "RAW";
        DOC_INFO_1A doc{docName, nullptr, dataType};
        m_docOpen = m_spooler.StartDocPrinterA(m_printer, 1, reinterpret_cast<LPBYTE>(&doc)) != 0;
        return m_docOpen;
    }
    bool StartPage() { return m_pageOpen = m_spooler.StartPagePrinter(m_printer) != 0; }
    // Exactly the text's bytes: nothing added, nothing translated. The spooler
    // may take them in pieces; one that takes nothing of what is left would
    // leave the job cut, so that is a failed write. An empty text is still
    // offered once.
    bool Write(std::string_view bytes) {
        do {
            DWORD written = 0;
            if (!m_spooler.WritePrinter(m_printer, const_cast<char*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size()), &written))
                return false;
            if (written == 0 && !bytes.empty()) return false;
            bytes.remove_prefix(std::min<std::size_t>(written, bytes.size()));
        } while (!bytes.empty());
        return true;
    }
    // A stage that fails to end is not ended a second time.
    bool EndPage() {
        m_pageOpen = false;
        return m_spooler.EndPagePrinter(m_printer) != 0;
    }
    bool EndDoc() {
        m_docOpen = false;
        return m_spooler.EndDocPrinter(m_printer) != 0;
    }

  private:
    const ov::PrintPlatform& m_spooler;
    HANDLE m_printer = nullptr;
    bool m_docOpen = false;
    bool m_pageOpen = false;
};

} // namespace

IMPLEMENT_DYNCREATE(CPrintLine)

short COvDEvedApp::PrintLine(const char* printer, const char* text) {
    return StartRequest<CPrintLine>(OV_APP_TRACE(PrintLine), "-1", [&](CPrintLine& worker) {
        return worker.Start(printer, text);
    });
}

BOOL CPrintLine::Start(const char* printer, const char* text) {
    // A null text is a caller fault like any bad pointer: it reaches the frame.
    m_strPrinter = printer;
    m_strText = text;
    return CreateThread();
}

BOOL CPrintLine::InitInstance() {
    const short code = PrintRaw(m_strPrinter, m_strText);
    return FinishRequest(std::to_string(code));
}

short CPrintLine::PrintRaw(const std::string& printer, const std::string& text) {
    // An empty name would open the print server rather than a printer; an
    // overlong one names no printer. Neither reaches the spooler.
    if (printer.empty() || printer.size() > kMaxPrinterName) return kOpenFailed;
    SpoolerJob job(ov::Print());
    if (!job.Open(printer)) return kOpenFailed;
    if (!job.StartDoc()) return kStartDocFailed;
    if (!job.StartPage()) return kStartPageFailed;
    // The text goes whole, however long: cutting it would lose data unseen.
    if (!job.Write(text)) return kWriteFailed;
    if (!job.EndPage()) return kEndPageFailed;
    if (!job.EndDoc()) return kEndDocFailed;
    return kPrinted;
}
