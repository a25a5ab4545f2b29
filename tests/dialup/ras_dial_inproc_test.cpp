#include <string>

#include "dialup/ras_fixture.h"
#include "dialup/ras_workers.h"

using ras_sim::DialOutcome;
using DialupDial = DialupTest;

TEST_F(DialupDial, ConnectedDialAnswersOneAndKeepsTheHandle) {
    ras.AddEntry("Office");
    EXPECT_EQ(Dial("Office", "CORP", "alice", "s3cret"), "1");
    ASSERT_EQ(ras.Dials().size(), 1u);
    const ras_sim::DialCall call = ras.Dials()[0];
    EXPECT_EQ(call.size, 1052u);
    EXPECT_EQ(call.entry, "Office");
    EXPECT_EQ(call.phone, "");
    EXPECT_EQ(call.callback, "");
    EXPECT_EQ(call.user, "alice");
    EXPECT_EQ(call.password, "s3cret");
    EXPECT_EQ(call.domain, "CORP");
    EXPECT_TRUE(call.defaultPhoneBook);
    EXPECT_TRUE(call.noExtensions);
    EXPECT_EQ(call.notifierType, 0u);
    EXPECT_TRUE(call.noNotifier);
    ASSERT_EQ(ras.Connections().size(), 1u);
    EXPECT_EQ(Kept(), ras.Connections()[0].handle);
}

TEST_F(DialupDial, AtSignDialsTheNumberWithoutAnEntry) {
    EXPECT_EQ(Dial("@0123456"), "1");
    EXPECT_EQ(Dial("@"), "1");
    EXPECT_EQ(Dial(""), "1"); // the empty text is an (empty) entry name, not a number
    EXPECT_EQ(Dial("Office@Home"), "1");
    const auto dials = ras.Dials();
    ASSERT_EQ(dials.size(), 4u);
    EXPECT_EQ(dials[0].entry, "");
    EXPECT_EQ(dials[0].phone, "0123456");
    EXPECT_EQ(dials[1].entry, "");
    EXPECT_EQ(dials[1].phone, "");
    EXPECT_EQ(dials[2].entry, "");
    EXPECT_EQ(dials[2].phone, "");
    EXPECT_EQ(dials[3].entry, "Office@Home");
    EXPECT_EQ(dials[3].phone, "");
}

TEST_F(DialupDial, StatusDecidesTheOutcome) {
    ras.SetDialOutcome(DialOutcome::Disconnects);
    EXPECT_EQ(Dial("Office"), "0");
    ras.SetDialOutcome(DialOutcome::StaysDialling);
    EXPECT_EQ(Dial("Office"), "-1");
    ras.SetDialOutcome(DialOutcome::Fails);
    EXPECT_EQ(Dial("Office"), "-1");
    EXPECT_EQ(Kept(), nullptr);
}

TEST_F(DialupDial, EachDialStartsFromAZeroKeptHandle) {
    KeptConnection().Set(reinterpret_cast<HRASCONN>(0x4711));
    ras.SetDialOutcome(DialOutcome::Fails);
    EXPECT_EQ(Dial("Office"), "-1");
    EXPECT_EQ(Kept(), nullptr);
}

TEST_F(DialupDial, UnreadableStatusFallsBackToEntriesConnectedAtRequestTime) {
    ras.Open("Office");
    ras.SetDialOutcome(DialOutcome::StatusUnreadable);
    EXPECT_EQ(Dial("Office"), "1");
    EXPECT_EQ(Dial("OFFICE"), "1");
    EXPECT_EQ(Dial("Home"), "-1");
    // Only a whole name counts: a failed dial is never reported as connected.
    EXPECT_EQ(Dial("Off"), "-1");
    // The empty text and numbers do not name a phone-book entry.
    EXPECT_EQ(Dial(""), "-1");
    ras.Open("555");
    EXPECT_EQ(Dial("@555"), "-1");
}

TEST_F(DialupDial, FailedDialOfAnAlreadyConnectedEntry) {
    ras.Open("Office");
    ras.SetDialOutcome(DialOutcome::Fails);
    EXPECT_EQ(Dial("Office"), "1");
    EXPECT_EQ(Dial("Home"), "-1");
}

TEST_F(DialupDial, ConnectionsStillDiallingAreNotConnectedAtRequestTime) {
    ras.Open("Office", RASCS_Authenticate);
    ras.SetDialOutcome(DialOutcome::StatusUnreadable);
    EXPECT_EQ(Dial("Office"), "-1");
}

TEST_F(DialupDial, RequestRefillsTheListBuffer) {
    const char* list = TheApp().RASList();
    ASSERT_STREQ(list, "");
    ras.Open("Office");
    EXPECT_EQ(Dial("Home"), "1");
    EXPECT_STREQ(list, "Office"); // as it stood when the request was made
}

TEST_F(DialupDial, CredentialsUpToTheirFieldsAreDialled) {
    const std::string domain(15, 'd'), user(256, 'u'), password(256, 'p'), phone(128, '5');
    EXPECT_EQ(Dial(("@" + phone).c_str(), domain.c_str(), user.c_str(), password.c_str()), "1");
    ASSERT_EQ(ras.Dials().size(), 1u);
    const ras_sim::DialCall call = ras.Dials()[0];
    EXPECT_EQ(call.phone, phone);
    EXPECT_EQ(call.domain, domain);
    EXPECT_EQ(call.user, user);
    EXPECT_EQ(call.password, password);
}

TEST_F(DialupDial, OverlongCredentialIsRefusedNotCutAndForgetsTheLastDial) {
    const std::string longDomain(16, 'd'), longUser(257, 'u'), longPassword(257, 'p');
    const std::string longNumber = "@" + std::string(129, '5');
    struct Request {
        std::string entry, domain, user, password;
    };
    const Request refused[] = {{"Home", longDomain, "alice", "pw"},
                               {"Home", "CORP", longUser, "pw"},
                               {"Home", "CORP", "alice", longPassword},
                               {longNumber, "CORP", "alice", "pw"}};
    for (const Request& r : refused) {
        ASSERT_EQ(Dial("Office"), "1");
        EXPECT_EQ(Dial(r.entry.c_str(), r.domain.c_str(), r.user.c_str(), r.password.c_str()),
                  "-1");
        EXPECT_EQ(Kept(), nullptr) << r.entry;
        // So a hang-up without a name ends nothing, not the earlier dial's line.
        EXPECT_EQ(HangUp(""), "0");
        EXPECT_EQ(ras.HangUps().back(), nullptr) << r.entry;
        EXPECT_EQ(ras.Connections().size(), 1u) << r.entry;
        HangUp("Office");
    }
    for (const ras_sim::DialCall& call : ras.Dials())
        EXPECT_EQ(call.entry, "Office");
}

TEST_F(DialupDial, LongEntryNameIsCutTo256) {
    const std::string entry(300, 'e');
    EXPECT_EQ(Dial(entry.c_str()), "1");
    ASSERT_EQ(ras.Dials().size(), 1u);
    EXPECT_EQ(ras.Dials()[0].entry, entry.substr(0, 256));
}

TEST_F(DialupDial, PasswordIsWipedAsSoonAsTheDialReturns) {
    for (DialOutcome outcome :
         {DialOutcome::Connects, DialOutcome::Fails, DialOutcome::StatusUnreadable}) {
        ras.SetDialOutcome(outcome);
        Dial("Office", "CORP", "alice", "s3cret");
    }
    const auto dials = ras.Dials();
    ASSERT_EQ(dials.size(), 3u);
    for (const auto& call : dials) {
        EXPECT_EQ(call.password, "s3cret");
        EXPECT_TRUE(call.passwordWipedBeforeStatusQuery);
    }
}

TEST_F(DialupDial, WorkerForgetsThePasswordWhetherItDialsOrNot) {
    for (const char* domain : {"CORP", "a-domain-too-long"}) {
        COperationSlot slot;
        CRASDial worker;
        worker.m_pSlot = &slot;
        worker.m_phRasConn = &KeptConnection();
        worker.m_strEntry = "Office";
        worker.m_strDomain = domain;
        worker.m_strPassword = "s3cret";
        try {
            worker.InitInstance(); // run here, it ends by unwinding towards its thread's start
        } catch (...) {
        }
        EXPECT_TRUE(worker.m_strPassword.empty()) << domain;
        EXPECT_FALSE(slot.IsActive());
    }
    EXPECT_EQ(ras.Dials().size(), 1u);
}

TEST_F(DialupDial, OverlappingDialsEachReportTheirOwnOutcome) {
    ras.SetDialOutcomeFor("Up", DialOutcome::Connects);
    ras.SetDialOutcomeFor("Down", DialOutcome::Disconnects);
    for (int round = 0; round < 200; ++round) {
        ras.HoldDials();
        const short up = TheApp().RASDial("Up", "", "", "");
        const short down = TheApp().RASDial("Down", "", "", "");
        const bool held = ras.WaitForHeldDials(2, 10000);
        // While both dials are under way neither handle is known yet.
        const std::string hangUp = held ? HangUp("") : "not run";
        ras.ReleaseDials();
        ASSERT_TRUE(held) << "both dials in progress at once, round " << round;
        ASSERT_EQ(Wait(up), "1") << "round " << round;
        ASSERT_EQ(Wait(down), "0") << "round " << round;
        ASSERT_EQ(hangUp, "0");
        ASSERT_EQ(ras.HangUps().back(), nullptr) << "round " << round;
        // Kept: the handle of whichever dial began last.
        const auto connections = ras.Connections();
        ASSERT_GE(connections.size(), 2u);
        ASSERT_TRUE(Kept() == connections.end()[-1].handle ||
                    Kept() == connections.end()[-2].handle)
            << "round " << round;
    }
    EXPECT_EQ(ras.Dials().size(), 400u);
}

TEST_F(DialupDial, CallerTextsMayBeReusedAtOnce) {
    char entry[] = "Office";
    char password[] = "s3cret";
    const short slot = TheApp().RASDial(entry, "", "alice", password);
    entry[0] = password[0] = 'X';
    EXPECT_EQ(Wait(slot), "1");
    ASSERT_EQ(ras.Dials().size(), 1u);
    EXPECT_EQ(ras.Dials()[0].entry, "Office");
    EXPECT_EQ(ras.Dials()[0].password, "s3cret");
}

using DialupHangUp = DialupTest;

TEST_F(DialupHangUp, EmptyNameRightAfterLoadHangsUpZero) {
    EXPECT_EQ(HangUp(""), "0");
    ASSERT_EQ(ras.HangUps().size(), 1u);
    EXPECT_EQ(ras.HangUps()[0], nullptr);
}

TEST_F(DialupHangUp, EmptyNameHangsUpTheLatestDialAndAnswersZero) {
    ras.Open("Home");
    ASSERT_EQ(Dial("Office"), "1");
    const HRASCONN dialled = Kept();
    EXPECT_EQ(HangUp(""), "0");
    ASSERT_EQ(ras.HangUps().size(), 1u);
    EXPECT_EQ(ras.HangUps()[0], dialled);
    ASSERT_EQ(ras.Connections().size(), 1u);
    EXPECT_EQ(ras.Connections()[0].entry, "Home");
    EXPECT_EQ(Kept(), dialled); // not cleared after a hang-up
    EXPECT_EQ(HangUp(""), "0"); // again: the same, now stale, handle
    EXPECT_EQ(ras.HangUps().back(), dialled);
}

TEST_F(DialupHangUp, NamedEntryIgnoresCaseButNeedsTheWholeName) {
    const HRASCONN office = ras.Open("Office");
    EXPECT_EQ(HangUp("Off"), "0");
    EXPECT_TRUE(ras.HangUps().empty());
    EXPECT_EQ(HangUp("office"), "1");
    ASSERT_EQ(ras.HangUps().size(), 1u);
    EXPECT_EQ(ras.HangUps()[0], office);
    EXPECT_EQ(HangUp("office"), "0"); // gone now
}

TEST_F(DialupHangUp, NamedEntryMatchesConnectionsInAnyState) {
    const HRASCONN dialling = ras.Open("Office", RASCS_Authenticate);
    EXPECT_EQ(HangUp("Office"), "1");
    ASSERT_EQ(ras.HangUps().size(), 1u);
    EXPECT_EQ(ras.HangUps()[0], dialling);
}

TEST_F(DialupHangUp, OnlyTheFirstMatchIsHungUp) {
    ras.Open("Home");
    const HRASCONN first = ras.Open("Office");
    const HRASCONN second = ras.Open("OFFICE");
    EXPECT_EQ(HangUp("Office"), "1");
    ASSERT_EQ(ras.HangUps().size(), 1u);
    EXPECT_EQ(ras.HangUps()[0], first);
    ASSERT_EQ(ras.Connections().size(), 2u);
    EXPECT_EQ(ras.Connections()[1].handle, second);
}

TEST_F(DialupHangUp, NamedHangUpKeepsTheKeptHandle) {
    ASSERT_EQ(Dial("Office"), "1");
    const HRASCONN dialled = Kept();
    EXPECT_EQ(HangUp("Office"), "1");
    EXPECT_EQ(ras.HangUps(), std::vector<HRASCONN>{dialled});
    EXPECT_EQ(Kept(), dialled);
    EXPECT_TRUE(ras.Connections().empty());
}

TEST_F(DialupHangUp, WorkerWritesZeroAsSoonAsItStarts) {
    ras.Open("Office");
    ras.HoldConnectionListing();
    const short slot = TheApp().RASHangUp("Office");
    ASSERT_EQ(slot, 0);
    WaitFor([&] { return TheApp().m_slots[slot].Text() == "0"; }, 10000, "the worker's first text");
    EXPECT_EQ(TheApp().m_slots[slot].Text(), "0");
    EXPECT_EQ(TheApp().IsActive(slot), 1);
    ras.ReleaseConnectionListing();
    EXPECT_EQ(Wait(slot), "1");
}

TEST_F(DialupHangUp, NoConnectionsAnswersZero) {
    EXPECT_EQ(HangUp("Office"), "0");
    EXPECT_TRUE(ras.HangUps().empty());
}

using DialupSlots = DialupTest;

TEST_F(DialupSlots, AllSlotsBusyRefusesBothRequests) {
    for (int i = 0; i < COperationSlotTable::kSlotCount; ++i)
        ASSERT_EQ(TheApp().m_slots.Claim(), i);
    EXPECT_EQ(TheApp().RASDial("Office", "", "", ""), -1);
    EXPECT_EQ(TheApp().RASHangUp(""), -1);
    EXPECT_TRUE(ras.Dials().empty());
    EXPECT_TRUE(ras.HangUps().empty());
    TheApp().m_slots.Reset();
    EXPECT_EQ(TheApp().RASHangUp(""), 0);
    EXPECT_EQ(Wait(0), "0");
}

TEST_F(DialupSlots, RequestsTakeTheLowestFreeSlot) {
    const short dial = TheApp().RASDial("Office", "", "", "");
    const short hangUp = TheApp().RASHangUp("Nobody");
    EXPECT_EQ(dial, 0);
    EXPECT_EQ(hangUp, 1);
    EXPECT_EQ(Wait(dial), "1");
    EXPECT_EQ(Wait(hangUp), "0");
}
