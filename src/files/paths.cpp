#include "files/paths.h"

#include "files/files_platform.h"

namespace ov {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::optional<std::wstring> FullPathOf(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    // A second try covers a current folder that grew between the two calls.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = Files().GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()),
                                                 full.data(), nullptr);
        if (n == 0) return std::nullopt;
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        full.resize(n);
    }
    return std::nullopt;
}

} // namespace

// The code-page conversions are no file-system calls, and no test replaces
// them: they are called directly.
std::optional<std::wstring> WideFromAnsi(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int n =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), n);
    return wide;
}

std::optional<std::string> AnsiExactly(std::wstring_view name) {
    if (name.empty()) return std::string();
    // UTF-8 spells every valid name and takes neither the no-best-fit flag
    // nor the used-default answer; a lone surrogate is refused all the same.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(name.size());
    BOOL usedDefault = FALSE;
    BOOL* const defaulted = utf8 ? nullptr : &usedDefault;
    // A found name has at most 255 units: one call into a buffer that holds
    // it in any code page, a second only for a longer text.
    char buffer[1024];
    int n = WideCharToMultiByte(CP_ACP, flags, name.data(), length, buffer, sizeof buffer, nullptr,
                                defaulted);
    if (n > 0)
        return usedDefault ? std::nullopt : std::optional<std::string>(std::in_place, buffer, n);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    n = WideCharToMultiByte(CP_ACP, flags, name.data(), length, nullptr, 0, nullptr, defaulted);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, name.data(), length, ansi.data(), n, nullptr, defaulted);
    if (usedDefault) return std::nullopt;
    return ansi;
}

std::optional<std::wstring> LongPathOf(std::wstring_view path) {
    if (path.empty()) return std::nullopt;
    std::optional<std::wstring> full = FullPathOf(std::wstring(path));
    if (!full) return std::nullopt;
    // A drive's root keeps its separator: "\\?\C:" would name the volume itself.
    while (full->size() > 1 && full->back() == L'\\' && (*full)[full->size() - 2] != L':')
        full->pop_back();
    if (StartsWith(*full, kLongPrefix) || StartsWith(*full, kDevicePrefix)) return full;
    if (StartsWith(*full, L"\\\\")) return std::wstring(kUncPrefix) + full->substr(2);
    return std::wstring(kLongPrefix) + *full;
}

std::optional<std::wstring> LongPathFromAnsi(std::string_view path) {
    if (path.empty()) return std::nullopt;
    const std::optional<std::wstring> wide = WideFromAnsi(path);
    if (!wide) return std::nullopt;
    return LongPathOf(*wide);
}

std::optional<std::wstring> LongFolderFromAnsi(std::string_view path) {
    if (path.empty()) return std::nullopt;
    std::optional<std::wstring> wide = WideFromAnsi(path);
    if (!wide) return std::nullopt;
    if (wide->back() != L'\\' && wide->back() != L'/') wide->push_back(L'\\');
    return LongPathOf(*wide);
}

std::optional<SearchRequest> SplitSearchPath(std::string_view path) {
    if (path.empty()) return std::nullopt;
    const std::optional<std::wstring> wide = WideFromAnsi(path);
    if (!wide) return std::nullopt;
    std::wstring folder;
    std::wstring pattern;
    const std::size_t cut = wide->find_last_of(L"\\/");
    if (cut != std::wstring::npos) {
        // The folder with its separator: "C:" followed by '\' is the drive's
        // root, not its current folder.
        folder = wide->substr(0, cut + 1);
        pattern = wide->substr(cut + 1);
    } else {
        const bool onDrive = wide->size() >= 2 && (*wide)[1] == L':';
        folder = onDrive ? wide->substr(0, 2) : L".";
        pattern = wide->substr(onDrive ? 2 : 0);
    }
    if (pattern.empty()) return std::nullopt;
    std::optional<std::wstring> directory = LongPathOf(folder);
    if (!directory) return std::nullopt;
    return SearchRequest{WidePath(std::move(*directory)), std::move(pattern)};
}

} // namespace ov
