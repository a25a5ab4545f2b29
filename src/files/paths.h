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

// A path formed in a fixed 260-byte buffer. The walks append one name on the
// way down and cut it off on the way back up, so a whole tree is walked
// without allocating.
class PathBuffer {
  public:
    // False, leaving the buffer empty, when text does not fit.
    bool Assign(std::string_view text) {
        if (!FitsPath(text)) {
            Truncate(0);
            return false;
        }
        std::memcpy(m_text, text.data(), text.size());
        Truncate(text.size());
        return true;
    }
    // Appends '\' and name; false, leaving the text as it was, when the result would not fit.
    bool Append(std::string_view name) {
        if (!CanAppend(name.size())) return false;
        m_text[m_size] = '\\';
        std::memcpy(m_text + m_size + 1, name.data(), name.size());
        Truncate(m_size + 1 + name.size());
        return true;
    }
    // True when '\' and a name of this length still fit.
    bool CanAppend(std::size_t nameLength) const { return m_size + 1 + nameLength <= kMaxPath; }
    void Truncate(std::size_t size) {
        m_size = size;
        m_text[size] = '\0';
    }

    const char* c_str() const { return m_text; }
    std::size_t size() const { return m_size; }
    std::string_view view() const { return {m_text, m_size}; }

  private:
    char m_text[kMaxPath + 1] = {};
    std::size_t m_size = 0;
};

// '\' and a name appended to a path for the life of the scope; false when it did not fit.
class AppendedName {
  public:
    AppendedName(PathBuffer& path, std::string_view name)
        : m_path(path), m_mark(path.size()), m_fits(path.Append(name)) {}
    ~AppendedName() { m_path.Truncate(m_mark); }
    AppendedName(const AppendedName&) = delete;
    AppendedName& operator=(const AppendedName&) = delete;

    explicit operator bool() const { return m_fits; }

  private:
    PathBuffer& m_path;
    std::size_t m_mark;
    bool m_fits;
};

} // namespace ov
