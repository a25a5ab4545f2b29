#include <gtest/gtest.h>

#include <string>

#include "core/app.h"
#include "support/wait_for.h"
#include "sysinfo_simulation.h"

namespace {

// Runs one group request through a slot and collects its text.
std::string GroupsThroughSlot() {
    COvDEvedApp& app = TheApp();
    return WaitForSlot(app, app.GetWindowsUserGroups());
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

} // namespace

using SysInfoSimFolders = SysInfoSimTest;

TEST_F(SysInfoSimFolders, FolderOf254CharactersIsWholeAnd255IsEmpty) {
    COvDEvedApp& app = TheApp();
    const std::string longest = "C:\\" + Repeat('w', 251);
    Sim().folder = longest;
    EXPECT_EQ(std::string(app.GetWindowsDir()), longest);
    EXPECT_EQ(std::string(app.GetSystemDir()), longest);
    EXPECT_EQ(std::string(app.GetTempDir()), longest);
    for (DWORD room : Sim().roomsOffered)
        EXPECT_EQ(room, 255u);

    Sim().folder = longest + "x"; // needs 256 with its terminator
    EXPECT_STREQ(app.GetWindowsDir(), "");
    EXPECT_STREQ(app.GetSystemDir(), "");
    EXPECT_STREQ(app.GetTempDir(), "");

    Sim().folder = "C:\\windows";
    ASSERT_STREQ(app.GetWindowsDir(), "C:\\windows");
    Sim().folderFails = true;
    EXPECT_STREQ(app.GetWindowsDir(), "") << "a failure never shows the previous text";
}

TEST_F(SysInfoSimFolders, ComputerNameIsWholeUpTo254Characters) {
    COvDEvedApp& app = TheApp();
    Sim().computerName = Repeat('N', 254);
    EXPECT_EQ(std::string(app.GetComputerName()), Sim().computerName);
    EXPECT_EQ(Sim().roomsOffered.back(), 255u);
    Sim().computerName = Repeat('N', 255);
    EXPECT_STREQ(app.GetComputerName(), "");
}

TEST_F(SysInfoSimFolders, FaultInComputerNameIsLoggedUnderItsOwnTraceName) {
    COvDEvedApp& app = TheApp();
    ASSERT_STREQ(app.GetComputerName(), "SIMHOST");
    const int before = CountLogLines("COvDEvedApp::GetWindowsComputerName");
    Sim().computerNameFaults = true;
    const char* text = app.GetComputerName();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(CountLogLines("COvDEvedApp::GetWindowsComputerName"), before + 1);
}

using SysInfoSimUser = SysInfoSimTest;

TEST_F(SysInfoSimUser, UserNameSizeCountsItsTerminator) {
    COvDEvedApp& app = TheApp();
    Sim().user.name = Repeat('u', 253); // leaves a size of 254
    EXPECT_EQ(std::string(app.GetWindowsUserName()), Sim().user.name);
    EXPECT_EQ(Sim().roomsOffered.back(), 255u);
    Sim().user.name = Repeat('u', 254); // leaves a size of 255
    EXPECT_STREQ(app.GetWindowsUserName(), "");
}

TEST_F(SysInfoSimUser, DomainPartsOfUpTo126Characters) {
    COvDEvedApp& app = TheApp();
    EXPECT_STREQ(app.GetWindowsUserDomain(0), "SIMDOM");
    EXPECT_STREQ(app.GetWindowsUserDomain(1), "SIMDOM\\operator");
    EXPECT_STREQ(app.GetWindowsUserDomain(7), "SIMDOM\\operator");
    for (DWORD room : Sim().lookupRooms)
        EXPECT_EQ(room, 127u);

    Sim().user = {Repeat('d', 126), Repeat('n', 126)};
    const std::string joined = app.GetWindowsUserDomain(1);
    EXPECT_EQ(joined.size(), 253u);
    EXPECT_EQ(joined, Repeat('d', 126) + "\\" + Repeat('n', 126));

    Sim().user = {Repeat('d', 126), Repeat('n', 127)};
    EXPECT_STREQ(app.GetWindowsUserDomain(0), "") << "the lookup fails as a whole";
    EXPECT_EQ(Sim().tokensOpened, Sim().tokensClosed);
    EXPECT_EQ(Sim().blocksAllocated, Sim().blocksFreed);
}

TEST_F(SysInfoSimUser, TokenAndBlockAreReleasedOnEveryPath) {
    COvDEvedApp& app = TheApp();
    auto expectBalanced = [](const char* path) {
        EXPECT_EQ(Sim().tokensOpened, Sim().tokensClosed) << path;
        EXPECT_EQ(Sim().blocksAllocated, Sim().blocksFreed) << path;
    };
    Sim().openFails = true;
    EXPECT_STREQ(app.GetWindowsUserDomain(1), "");
    EXPECT_EQ(GroupsThroughSlot(), "");
    EXPECT_EQ(Sim().tokensOpened, 0);

    Sim() = SimState{};
    Sim().lengthQueryError = ERROR_ACCESS_DENIED;
    EXPECT_STREQ(app.GetWindowsUserDomain(1), "");
    EXPECT_EQ(GroupsThroughSlot(), "");
    EXPECT_EQ(Sim().tokensOpened, 2);
    expectBalanced("length query refused");

    Sim() = SimState{};
    Sim().allocFails = true;
    EXPECT_STREQ(app.GetWindowsUserDomain(1), "");
    EXPECT_EQ(GroupsThroughSlot(), "");
    expectBalanced("no block");

    Sim() = SimState{};
    Sim().readFails = true;
    Sim().groups = {{"D", "g"}};
    EXPECT_STREQ(app.GetWindowsUserDomain(1), "");
    EXPECT_EQ(GroupsThroughSlot(), "");
    EXPECT_EQ(Sim().blocksAllocated, 2);
    expectBalanced("read refused");

    Sim() = SimState{};
    Sim().user.lookupFails = true;
    EXPECT_STREQ(app.GetWindowsUserDomain(1), "");
    expectBalanced("lookup failed");
}

using SysInfoSimGroups = SysInfoSimTest;

TEST_F(SysInfoSimGroups, ItemsInTokenOrderWithEmptyItemsForFailedLookups) {
    Sim().groups = {{"", "", true},
                    {"", "", true},
                    {"BUILTIN", "Users"},
                    {"", "", true},
                    {"NT AUTHORITY", "INTERACTIVE"},
                    {"", "", true}};
    // No leading comma for the failures before the first item; an empty
    // item for each later failure, at the end too.
    EXPECT_EQ(GroupsThroughSlot(), "BUILTIN\\Users,,NT AUTHORITY\\INTERACTIVE,");
    for (DWORD room : Sim().lookupRooms)
        EXPECT_EQ(room, 254u);
    EXPECT_EQ(Sim().tokensOpened, Sim().tokensClosed);
    EXPECT_EQ(Sim().blocksAllocated, Sim().blocksFreed);
}

TEST_F(SysInfoSimGroups, ACountBeyondTheBlockReadsOnlyTheGroupsItHolds) {
    Sim().groups = {{"A", "b"}, {"C", "d"}};
    Sim().claimedGroupCount = 100000;
    EXPECT_EQ(GroupsThroughSlot(), "A\\b,C\\d");
    EXPECT_EQ(Sim().lookupRooms.size(), 4u) << "two lookups, name and domain room each";
}

TEST_F(SysInfoSimGroups, NamesThatNeedMoreThan254CharactersLeaveEmptyItems) {
    Sim().groups = {{"A", "b"}, {"D", Repeat('n', 254)}, {Repeat('d', 254), "n"}, {"C", "d"}};
    EXPECT_EQ(GroupsThroughSlot(), "A\\b,,,C\\d");
}

TEST_F(SysInfoSimGroups, NearTheLimitItemsAreDroppedAndCommasFillUpTo254) {
    const std::string first = "D\\" + Repeat('n', 247); // 249 characters
    Sim().groups = {{"D", Repeat('n', 247)}, {"X", "yy"}, {"X", ""}, {"Y", "z"}, {"Z", "z"}};
    // "X\yy" would reach 254 and is dropped; "X\" ends at 253; then one comma
    // brings the list to 254 and the last group adds nothing.
    const std::string list = GroupsThroughSlot();
    EXPECT_EQ(list, first + ",," + "X\\" + ",");
    EXPECT_EQ(list.size(), 254u);
}

TEST_F(SysInfoSimGroups, AnItemLongerThanTheWholeListIsDropped) {
    Sim().groups = {
        {Repeat('d', 200), Repeat('n', 200)}, {"A", "b"}, {Repeat('d', 253), Repeat('n', 1)}};
    EXPECT_EQ(GroupsThroughSlot(), "A\\b,");
}

TEST_F(SysInfoSimGroups, NoCommaAfterAListOfOneCharacter) {
    // The comma rule asks for a list longer than one character.
    Sim().groups = {{"", ""}, {"A", "b"}, {"C", "d"}};
    EXPECT_EQ(GroupsThroughSlot(), "\\A\\b,C\\d");
}

TEST_F(SysInfoSimGroups, FaultInALookupKeepsTheListSoFarAndReleasesEverything) {
    const int before = CountLogLines("CUserGroups::ExecuteGetUserGroups");
    Sim().groups = {{"A", "b"}, {"C", "d"}, {"", "", false, true}, {"E", "f"}};
    EXPECT_EQ(GroupsThroughSlot(), "A\\b,C\\d,");
    EXPECT_EQ(CountLogLines("CUserGroups::ExecuteGetUserGroups"), before + 1);
    EXPECT_EQ(Sim().tokensOpened, 1);
    EXPECT_EQ(Sim().tokensClosed, 1);
    EXPECT_EQ(Sim().blocksAllocated, 1);
    EXPECT_EQ(Sim().blocksFreed, 1);
}
