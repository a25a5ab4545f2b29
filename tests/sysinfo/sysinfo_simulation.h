// A simulated platform behind the folder, computer-name and user-identity
// exports, for the answers Wine does not give: over-long folders, failing
// token calls, groups whose lookup fails, faults inside the platform.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/error_log_file.h"

struct SimAccount {
    std::string domain;
    std::string name;
    bool lookupFails = false;  // no account name for this identifier
    bool lookupFaults = false; // the lookup raises an access violation
};

struct SimState {
    // Folders: the text given when it fits the room, otherwise the room needed.
    std::string folder = "C:\\windows";
    bool folderFails = false;
    std::vector<DWORD> roomsOffered;
    // Computer and user name: the size left behind on success.
    std::string computerName = "SIMHOST";
    bool computerNameFaults = false;

    // Token.
    bool openFails = false;
    DWORD lengthQueryError = ERROR_INSUFFICIENT_BUFFER;
    bool allocFails = false;
    bool readFails = false;
    SimAccount user{"SIMDOM", "operator"};
    std::vector<SimAccount> groups;
    DWORD claimedGroupCount = 0;    // nonzero: the count the block claims, whatever it holds
    std::vector<DWORD> lookupRooms; // name and domain room of each lookup

    // What was taken and given back.
    int tokensOpened = 0;
    int tokensClosed = 0;
    int blocksAllocated = 0;
    int blocksFreed = 0;
};

// The state the simulated calls answer from; reset by the fixture.
SimState& Sim();

// Puts the simulated platform in place for one test and the real one back after it.
class SysInfoSimTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};
