// The phone-book and connection lists shared by the dial-up exports and workers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialup/dialup_platform.h"

namespace ov::ras {

// The records the service returns, in its order. The second of the two calls
// must succeed, and only the records it reports filled are kept.
std::vector<EntryNameRecord> EnumerateEntries();
std::vector<ConnectionRecord> EnumerateConnections();

// Names of the default phone book's entries.
std::vector<std::string> EntryNames();
// Names of the connections that are in the connected state; others are left out.
std::vector<std::string> ConnectedEntryNames();

// Names joined by "," with nothing after the last.
std::string JoinNames(const std::vector<std::string>& names);
// Lower-cased in the system's ANSI code page.
std::string Lower(std::string_view text);
// Whole names equal apart from letter case.
bool SameName(std::string_view a, std::string_view b);

template <std::size_t N> std::string NameOf(const CHAR (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

} // namespace ov::ras
