// Path rules shared by the file jobs: every path a job forms fits a 260-byte
// buffer, so at most 259 characters.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace ov {

inline constexpr std::size_t kMaxPath = 259;

inline bool FitsPath(std::string_view path) { return path.size() <= kMaxPath; }

// directory + '\' + name, as the jobs form it (no check for a trailing separator).
inline std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string joined;
    joined.reserve(directory.size() + 1 + name.size());
    joined.append(directory).append(1, '\\').append(name);
    return joined;
}

} // namespace ov
