// Paths of the file jobs. The caller speaks ANSI; inside, every name is
// UTF-16 and every path a full one in the long-path form, so a job reaches
// names the code page cannot spell and entries at any depth the platform allows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ov {

// The caller's texts that CreateNewDir and FileCopy take as they are: at most 259 characters.
inline constexpr std::size_t kMaxPath = 259;

inline bool FitsPath(std::string_view path) { return path.size() <= kMaxPath; }

// The caller's text in UTF-16, converted exactly; nothing when the code page
// does not read it (an invalid double-byte sequence).
std::optional<std::wstring> WideFromAnsi(std::string_view text);

// The name in the ANSI code page only when the code page spells every
// character of it exactly: no best-fit look-alike, no default character.
std::optional<std::string> AnsiExactly(std::wstring_view name);

// The full path of path in the long-path form (\\?\C:\..., \\?\UNC\server\share\...),
// without a trailing separator unless it names a drive's root. Nothing when
// the platform cannot resolve it.
std::optional<std::wstring> LongPathOf(std::wstring_view path);

// The caller's ANSI path as a long path; nothing for a text that is empty,
// invalid in the code page or not resolvable.
std::optional<std::wstring> LongPathFromAnsi(std::string_view path);

// The folder whose entries path, a separator and a name would name, as a long
// path: "C:" is the drive's root here, as it is with a name after it.
std::optional<std::wstring> LongFolderFromAnsi(std::string_view path);

// A path the walks grow by one name on the way down and cut back on the way
// up; its storage is kept, so a whole walk allocates only while it goes deeper.
class WidePath {
  public:
    WidePath() = default;
    explicit WidePath(std::wstring text) : m_text(std::move(text)) {}

    // Appends a separator, unless the path already ends in one, and name.
    void Append(std::wstring_view name) {
        if (!m_text.empty() && m_text.back() != L'\\') m_text.push_back(L'\\');
        m_text.append(name);
    }
    void Truncate(std::size_t size) { m_text.resize(size); }

    const wchar_t* c_str() const { return m_text.c_str(); }
    std::size_t size() const { return m_text.size(); }
    std::wstring_view view() const { return m_text; }

  private:
    std::wstring m_text;
};

// A name appended to a path for the life of the scope.
class AppendedName {
  public:
    AppendedName(WidePath& path, std::wstring_view name) : m_path(path), m_mark(path.size()) {
        path.Append(name);
    }
    ~AppendedName() { m_path.Truncate(m_mark); }
    AppendedName(const AppendedName&) = delete;
    AppendedName& operator=(const AppendedName&) = delete;

  private:
    WidePath& m_path;
    std::size_t m_mark;
};

// A request path split into the folder its search runs in and the pattern.
struct SearchRequest {
    WidePath directory;
    std::wstring pattern;
};

// Splits the caller's path at its last separator ('\' or '/'). The folder
// part is resolved as the platform resolves the folder of a search, the
// pattern kept exactly as given. A path without a separator searches the
// current folder (of its drive, for "X:name"). Nothing when the text is empty
// or unusable, or its pattern part is empty.
std::optional<SearchRequest> SplitSearchPath(std::string_view path);

} // namespace ov
