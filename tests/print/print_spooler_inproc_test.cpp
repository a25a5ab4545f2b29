// PrintLine against the simulated spooler: the call sequence, the document
// description, the bytes, and every failure code with its undo sequence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app.h"
#include "print/simulated_spooler.h"
#include "support/wait_for.h"

namespace {

using Names = std::vector<std::string>;

std::string Print(const char* printer, const std::string& text) {
    return WaitForSlot(TheApp(), TheApp().PrintLine(printer, text.c_str()));
}

} // namespace

TEST(PrintSimulated, ASuccessfulJobMakesTheSevenCallsInOrder) {
    SimulatedSpooler spooler;
    EXPECT_EQ(Print("Office Laser", "Hello\r\n"), "1");
    EXPECT_EQ(spooler.CallNames(),
              (Names{"Open", "StartDoc", "StartPage", "Write", "EndPage", "EndDoc", "Close"}));
    const auto calls = spooler.Calls();
    EXPECT_EQ(calls[0].argument, "Office Laser");
    EXPECT_EQ(calls[1].argument, "TestDoc|<null>|RAW");
    EXPECT_EQ(calls[3].argument, "Hello\r\n");
    for (std::size_t i = 1; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].printer, SimulatedSpooler::kPrinter) << calls[i].name;
}

TEST(PrintSimulated, EveryFailureGivesItsCodeAndUndoesOnlyWhatSucceeded) {
    struct Case {
        const char* failAt;
        const char* code;
        Names calls;
    };
    const Case cases[] = {
        {"Open", "-2", {"Open"}},
        {"StartDoc", "-3", {"Open", "StartDoc", "Close"}},
        {"StartPage", "-4", {"Open", "StartDoc", "StartPage", "EndDoc", "Close"}},
        {"Write", "0", {"Open", "StartDoc", "StartPage", "Write", "EndPage", "EndDoc", "Close"}},
        {"EndPage", "-5", {"Open", "StartDoc", "StartPage", "Write", "EndPage", "EndDoc", "Close"}},
        {"EndDoc", "-6", {"Open", "StartDoc", "StartPage", "Write", "EndPage", "EndDoc", "Close"}},
        {"Close", "1", {"Open", "StartDoc", "StartPage", "Write", "EndPage", "EndDoc", "Close"}},
    };
    for (const Case& c : cases) {
        SimulatedSpooler spooler;
        spooler.FailAt(c.failAt);
        EXPECT_EQ(Print("P", "x"), c.code) << c.failAt;
        EXPECT_EQ(spooler.CallNames(), c.calls) << c.failAt;
    }
}

TEST(PrintSimulated, TheBytesGoExactlyAsGivenWithNothingAddedOrCut) {
    SimulatedSpooler spooler;
    const std::string texts[] = {"",
                                 "no line end",
                                 "cr lf\r\n",
                                 "\f\t\x7f\xff high bytes",
                                 std::string(259, 'a'),
                                 std::string(5000, 'b') + "end"};
    for (const auto& text : texts)
        EXPECT_EQ(Print("P", text), "1");
    std::vector<std::string> written;
    for (const auto& call : spooler.Calls())
        if (call.name == "Write") written.push_back(call.argument);
    EXPECT_EQ(written, std::vector<std::string>(std::begin(texts), std::end(texts)));
}

TEST(PrintSimulated, ShortWritesGoOnUntilAllIsTakenAndATakeOfNothingFails) {
    struct Case {
        DWORD piece;
        DWORD capacity;
        std::string text;
        const char* code;
        Names pieces;
    };
    const Case cases[] = {
        {7, MAXDWORD, "abcdefghijklmnopq", "1", {"abcdefg", "hijklmn", "opq"}},
        {7, 10, "abcdefghijklmnopq", "0", {"abcdefg", "hij", ""}},
        {0, 0, "x", "0", {""}},
        {7, 0, "", "1", {""}}, // the empty text is offered once, and taking nothing of it is all
    };
    for (const Case& c : cases) {
        SimulatedSpooler spooler;
        spooler.TakeAtMost(c.piece);
        spooler.StopTakingAfter(c.capacity);
        EXPECT_EQ(Print("P", c.text), c.code) << c.text;
        Names pieces;
        for (const auto& call : spooler.Calls())
            if (call.name == "Write") pieces.push_back(call.argument);
        EXPECT_EQ(pieces, c.pieces) << c.text;
        const Names names = spooler.CallNames();
        ASSERT_GE(names.size(), 3u);
        EXPECT_EQ(Names(names.end() - 3, names.end()), (Names{"EndPage", "EndDoc", "Close"}));
    }
}

TEST(PrintSimulated, PrinterNamesThatNameNoPrinterNeverReachTheSpooler) {
    SimulatedSpooler spooler;
    EXPECT_EQ(Print(std::string(260, 'p').c_str(), "x"), "-2");
    EXPECT_EQ(Print("", "x"), "-2");
    // A null name is a caller fault: logged, and the slot keeps its initial text.
    EXPECT_EQ(Print(nullptr, "x"), "-1");
    EXPECT_TRUE(spooler.Calls().empty());

    const std::string longest(259, 'p');
    EXPECT_EQ(Print(longest.c_str(), "x"), "1");
    ASSERT_FALSE(spooler.Calls().empty());
    EXPECT_EQ(spooler.Calls()[0].argument, longest);
}

TEST(PrintSimulated, TheCallerMayReuseItsTextsAtOnce) {
    SimulatedSpooler spooler;
    spooler.FailAt("StartDoc"); // hold nothing open; the names still reach Open
    std::string printer = "First";
    std::string text = "payload";
    const short slot = TheApp().PrintLine(printer.c_str(), text.c_str());
    printer.assign("Overwritten");
    text.assign("Overwritten");
    EXPECT_EQ(WaitForSlot(TheApp(), slot), "-3");
    EXPECT_EQ(spooler.Calls().at(0).argument, "First");
}
