#pragma once

#include <cstdint>

// Appends "QUORUtl Severe Error Occurred [<traceName>]" to the error log in the
// Windows folder and rotates the log to its backup once it passes the limit.
// Never fails visibly.
void Err_Exception_Log(const char* traceName);

namespace ov {
inline constexpr long kErrorLogLimit = 204800;
inline constexpr const char kErrorLogName[] = "OrvaleSCADAQUORErr.log";
inline constexpr const char kErrorBackupName[] = "OrvaleSCADAQUORErr.bak";
// The writers' turn: the byte of the log at this offset, far past any size
// the log reaches, locked for the length of one line. Every process that may
// write the log can take it, in any session and at any integrity level, and
// the system drops it when its holder dies. It must never change between
// versions, or two versions loaded at once would write over each other.
inline constexpr unsigned long long kErrorLogTurnOffset = 1ULL << 62;
// How long a writer waits for its turn before it drops its line.
inline constexpr unsigned long kErrorLogWaitMs = 500;
} // namespace ov
