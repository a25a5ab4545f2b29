#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/ov_module.h"

namespace {

std::vector<std::string> SplitItems(const std::string& list) {
    std::vector<std::string> items;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');)
        items.push_back(item);
    if (!list.empty() && list.back() == ',') items.emplace_back();
    return items;
}

} // namespace

TEST(SysInfoUser, DomainAloneOrJoinedWithTheAccountName) {
    auto& m = OvModule::Get();
    const std::string joined = m.GetWindowsUserDomain(1);
    const std::string domain = m.GetWindowsUserDomain(0);
    ASSERT_FALSE(domain.empty());
    EXPECT_EQ(domain.find('\\'), std::string::npos);
    ASSERT_GT(joined.size(), domain.size() + 1);
    EXPECT_EQ(joined.substr(0, domain.size() + 1), domain + "\\");
    // The process runs under the logged-on user's account.
    const std::string user = m.GetWindowsUserName();
    ASSERT_FALSE(user.empty());
    EXPECT_EQ(joined.substr(domain.size() + 1), user);
    // Any nonzero argument asks for the account name; the buffer is reused.
    const char* two = m.GetWindowsUserDomain(2);
    EXPECT_EQ(std::string(two), joined);
    EXPECT_EQ(m.GetWindowsUserDomain(-1), two);
    EXPECT_EQ(std::string(m.GetWindowsUserDomain(0)), domain);
}

TEST(SysInfoUser, GroupListThroughASlot) {
    auto& m = OvModule::Get();
    const short slot = m.GetWindowsUserGroups();
    ASSERT_EQ(slot, 0);
    const std::string list = m.Wait(slot);
    EXPECT_FALSE(m.IsActive(slot));
    ASSERT_FALSE(list.empty());
    EXPECT_LE(list.size(), 254u);
    EXPECT_NE(list.front(), ',') << "no leading comma";
    int named = 0;
    for (const auto& item : SplitItems(list)) {
        if (item.empty()) continue; // a group without an account name
        EXPECT_NE(item.find('\\'), std::string::npos) << item;
        ++named;
    }
    EXPECT_GT(named, 0) << list;
    // The slot is free again: the next request takes it.
    const short next = m.GetWindowsUserGroups();
    EXPECT_EQ(next, 0);
    EXPECT_EQ(m.Wait(next), list);
}

TEST(SysInfoUser, ThirtyGroupRequestsSideBySideThenNoFreeSlot) {
    auto& m = OvModule::Get();
    for (short i = 0; i < 30; ++i)
        ASSERT_EQ(m.GetWindowsUserGroups(), i);
    EXPECT_EQ(m.GetWindowsUserGroups(), -1);
    const std::string first = m.Wait(0);
    for (short i = 1; i < 30; ++i)
        EXPECT_EQ(m.Wait(i), first) << "slot " << i;
    EXPECT_EQ(m.GetWindowsUserGroups(), 0);
    m.CollectAll();
}
