// Result buffers: module-wide 256-byte texts returned by the text exports.
// No buffer carries more than 254 characters.
#pragma once

#include <cstring>
#include <string_view>

namespace ov {

inline constexpr std::size_t kResultBufferSize = 256;
inline constexpr std::size_t kMaxResultText = 254;

using ResultBuffer = char[kResultBufferSize];

// Copies text into a result buffer, cut after 254 characters.
inline void CopyCut(ResultBuffer& buffer, std::string_view text) {
    const std::size_t n = text.size() < kMaxResultText ? text.size() : kMaxResultText;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

} // namespace ov
