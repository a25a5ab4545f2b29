// PrintLine through the DLL to a real Wine printer whose port is a file:
// the exact bytes of the text must arrive there, nothing added.
#include <gtest/gtest.h>

#include <string>

#include "support/file_printer.h"
#include "support/ov_module.h"

namespace {

// Prints text through the DLL; the slot's code and what reached the port.
std::pair<std::string, std::string> Print(const FilePrinter& printer, const std::string& text) {
    printer.ClearPort();
    auto& ov = OvModule::Get();
    const short slot = ov.PrintLine(printer.name().c_str(), text.c_str());
    EXPECT_GE(slot, 0);
    const std::string code = slot < 0 ? "<no slot>" : ov.Wait(slot);
    return {code, printer.Arrived()};
}

} // namespace

TEST(PrintLineWine, TheExactBytesReachTheFilePort) {
    OV_SKIP_UNLESS_FILE_PRINTER();
    FilePrinter printer;
    const std::string texts[] = {"AB\r\nCD\r\n", "no line end", "\f\tform feed and tab",
                                 std::string(259, 'x'), std::string(1000, 'y') + "\r\nend"};
    for (const auto& text : texts) {
        const auto [code, arrived] = Print(printer, text);
        EXPECT_EQ(code, "1") << text.substr(0, 20);
        EXPECT_EQ(arrived, text) << text.substr(0, 20);
    }
}

TEST(PrintLineWine, AnEmptyTextMakesAnEmptyJob) {
    OV_SKIP_UNLESS_FILE_PRINTER();
    FilePrinter printer;
    const auto [code, arrived] = Print(printer, "");
    EXPECT_EQ(code, "1");
    EXPECT_EQ(arrived, "");
}
