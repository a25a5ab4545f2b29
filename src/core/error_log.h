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
} // namespace ov
