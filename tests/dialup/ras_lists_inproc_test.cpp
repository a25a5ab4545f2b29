#include <string>

#include "dialup/ras_fixture.h"

namespace {

std::string Entries() { return TheApp().RASEntries(); }
std::string List() { return TheApp().RASList(); }

// Names of ten characters each: "name000000", "name000001", ...
std::string TenCharName(int i) {
    std::string number = std::to_string(i);
    return "name" + std::string(6 - number.size(), '0') + number;
}

} // namespace

using DialupEntries = DialupTest;

TEST_F(DialupEntries, EmptyPhoneBookGivesEmptyText) {
    EXPECT_EQ(Entries(), "");
    EXPECT_TRUE(ras.OnlyDefaultPhoneBookAsked());
}

TEST_F(DialupEntries, TwoEntriesJoinedInPlatformOrder) {
    ras.AddEntry("Office");
    ras.AddEntry("Home");
    EXPECT_EQ(Entries(), "Office,Home");
    EXPECT_TRUE(ras.OnlyDefaultPhoneBookAsked());
}

TEST_F(DialupEntries, NamesAreWrittenUnchangedWithoutQuoting) {
    ras.AddEntry("Dial, then wait");
    ras.AddEntry("Zürich \"ISDN\"");
    EXPECT_EQ(Entries(), "Dial, then wait,Zürich \"ISDN\"");
}

TEST_F(DialupEntries, LongestNameComesWhole) {
    const std::string longName(256, 'n');
    ras.AddEntry(longName);
    EXPECT_EQ(Entries(), longName.substr(0, 254));
}

TEST_F(DialupEntries, ListIsCutAfter254Characters) {
    // 23 names of ten characters and their separators take 252 characters, then
    // a separator and the first letter of the 24th name.
    std::string full;
    for (int i = 0; i < 30; ++i) {
        ras.AddEntry(TenCharName(i));
        if (i) full += ',';
        full += TenCharName(i);
    }
    const std::string text = Entries();
    EXPECT_EQ(text.size(), 254u);
    EXPECT_EQ(text, full.substr(0, 254));
    EXPECT_EQ(text.substr(252), ",n");
}

TEST_F(DialupEntries, CutRightAfterSeparatorEndsWithComma) {
    // "a...a" (253 characters) then "," makes 254: the cut falls right after the separator.
    ras.AddEntry(std::string(253, 'a'));
    ras.AddEntry("Home");
    const std::string text = Entries();
    EXPECT_EQ(text.size(), 254u);
    EXPECT_EQ(text.back(), ',');
}

TEST_F(DialupEntries, SameBufferEveryCall) {
    ras.AddEntry("Office");
    const char* first = TheApp().RASEntries();
    EXPECT_EQ(TheApp().RASEntries(), first);
    EXPECT_STREQ(first, "Office");
}

TEST_F(DialupEntries, OneEntryAddedBetweenTheTwoCallsStillFits) {
    ras.AddEntry("Office");
    ras.AddEntriesAfterNextSizing({"Home"});
    EXPECT_EQ(Entries(), "Office,Home");
}

TEST_F(DialupEntries, SecondCallThatFailsListsNothing) {
    ras.AddEntry("Office");
    ras.AddEntriesAfterNextSizing({"Home", "Lab"});
    EXPECT_EQ(Entries(), "");
    // Nothing is kept from the failed call: the next one sees all three.
    EXPECT_EQ(Entries(), "Office,Home,Lab");
}

using DialupConnected = DialupTest;

TEST_F(DialupConnected, NothingConnected) {
    ras.AddEntry("Office");
    EXPECT_EQ(List(), "");
    EXPECT_EQ(TheApp().RASActive("Office"), 0);
    EXPECT_EQ(TheApp().RASActive(""), 1); // the empty text occurs in every text
}

TEST_F(DialupConnected, OnlyConnectedStateCounts) {
    ras.Open("Office");
    ras.Open("Home", RASCS_Authenticate);
    ras.Open("Lab", ov::ras::kDisconnected);
    ras.Open("Depot", ov::ras::kConnected, false);
    ras.Open("Plant");
    EXPECT_EQ(List(), "Office,Plant");
    EXPECT_EQ(TheApp().RASActive("Home"), 0);
    EXPECT_EQ(TheApp().RASActive("Depot"), 0);
}

TEST_F(DialupConnected, ActiveIgnoresCaseAndMatchesPartOfAName) {
    ras.Open("Office");
    EXPECT_EQ(TheApp().RASActive("Office"), 1);
    EXPECT_EQ(TheApp().RASActive("office"), 1);
    EXPECT_EQ(TheApp().RASActive("OFF"), 1);
    EXPECT_EQ(TheApp().RASActive(""), 1);
    EXPECT_EQ(TheApp().RASActive("Home"), 0);
    EXPECT_EQ(TheApp().RASActive("Office2"), 0);
}

TEST_F(DialupConnected, ActiveSearchesTheWholeListWhileTheBufferGetsItCut) {
    const std::string first(250, 'a');
    ras.Open(first);
    ras.Open("Office");
    EXPECT_EQ(TheApp().RASActive("Off"), 1);
    EXPECT_EQ(TheApp().RASActive("OFFICE"), 1); // beyond the first 254 characters
    EXPECT_STREQ(TheApp().RASList(), (first + ",Off").c_str());
    EXPECT_EQ(TheApp().RASActive("a,office"), 1); // across the separator, as before
    EXPECT_EQ(TheApp().RASActive("Office2"), 0);
    const char* list = TheApp().RASList();
    ASSERT_EQ(TheApp().RASActive("Office"), 1);
    EXPECT_STREQ(list, (first + ",Off").c_str());
}

TEST_F(DialupConnected, ActiveRefillsTheListBuffer) {
    ras.Open("Office");
    const char* list = TheApp().RASList();
    ASSERT_STREQ(list, "Office");
    ras.Open("Home");
    EXPECT_EQ(TheApp().RASActive("nobody"), 0);
    EXPECT_STREQ(list, "Office,Home");
}

TEST_F(DialupConnected, ConnectionsAddedBetweenTheTwoCalls) {
    ras.Open("Office");
    ras.OpenAfterNextSizing({"Home"});
    EXPECT_EQ(List(), "Office,Home");
    ras.OpenAfterNextSizing({"Lab", "Depot"});
    EXPECT_EQ(List(), "");
}
