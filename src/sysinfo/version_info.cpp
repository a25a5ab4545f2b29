#include "sysinfo/version_info.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>

#include "core/app.h"
#include "core/call_frame.h"
#include "core/result_buffer.h"
#include "sysinfo/sysinfo_platform.h"

namespace {

ov::ResultBuffer g_versionText;

constexpr UINT kFixedPartSize = 52;
constexpr DWORD kFixedSignature = 0xFEEF04BD;
constexpr DWORD kOldestStructVersion = 0x29; // versions up to this one are refused

struct Translation {
    WORD language;
    WORD codePage;
};

// The US English tables tried between the first and the other translations.
constexpr Translation kFixedTables[] = {{0x0409, 0x04B0}, {0x0409, 0x04E4}, {0x0409, 0x0000}};

std::string TablePath(WORD language, WORD codePage) {
    char path[32];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\", language, codePage);
    return path;
}

} // namespace

CVersionInfo::~CVersionInfo() { Reset(); }

void CVersionInfo::Reset() {
    m_wLanguage = 0;
    m_wCodePage = 0;
    m_strTablePath.clear();
    std::vector<BYTE>().swap(m_versionData);
}

bool CVersionInfo::Open(const char* path) {
    Reset();
    DWORD unused = 0;
    const DWORD size = ov::Sysinfo().GetFileVersionInfoSizeA(path, &unused);
    if (size == 0) return false;
    try {
        m_versionData.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!ov::Sysinfo().GetFileVersionInfoA(path, 0, size, m_versionData.data()) ||
        !FixedPartIsValid()) {
        Reset();
        return false;
    }
    return SelectTranslation();
}

bool CVersionInfo::FixedPartIsValid() const {
    void* value = nullptr;
    UINT length = 0;
    if (!ov::Sysinfo().VerQueryValueA(m_versionData.data(), "\\", &value, &length) ||
        length != kFixedPartSize || !InBlock(value, kFixedPartSize))
        return false;
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    return fixed.dwSignature == kFixedSignature && fixed.dwStrucVersion > kOldestStructVersion &&
           fixed.dwFileOS != 0 && fixed.dwFileType != 0;
}

bool CVersionInfo::SelectTranslation() {
    void* value = nullptr;
    UINT length = 0;
    const Translation* translations = nullptr;
    UINT count = 0;
    if (ov::Sysinfo().VerQueryValueA(m_versionData.data(), "\\VarFileInfo\\Translation", &value,
                                     &length) &&
        InBlock(value, length / sizeof(Translation) * sizeof(Translation))) {
        translations = static_cast<const Translation*>(value);
        count = length / sizeof(Translation);
    }
    bool found = count > 0 && TrySelect(translations[0].language, translations[0].codePage);
    for (const Translation& t : kFixedTables)
        found = found || TrySelect(t.language, t.codePage);
    for (UINT i = 1; i < count && !found; ++i)
        found = TrySelect(translations[i].language, translations[i].codePage);
    if (!found) Reset();
    return found;
}

bool CVersionInfo::TrySelect(WORD language, WORD codePage) {
    m_strTablePath = TablePath(language, codePage);
    if (QueryString("FileVersion").empty()) return false;
    m_wLanguage = language;
    m_wCodePage = codePage;
    return true;
}

std::string CVersionInfo::QueryString(const char* key) const {
    if (m_versionData.empty() || m_strTablePath.empty()) return {};
    const std::string subBlock = m_strTablePath + key;
    void* value = nullptr;
    UINT length = 0;
    if (!ov::Sysinfo().VerQueryValueA(m_versionData.data(), subBlock.c_str(), &value, &length) ||
        !InBlock(value, 1))
        return {};
    // The length counts characters and may count the terminator; the data
    // need hold no terminator at all, so the text ends at whichever comes first.
    const auto* text = static_cast<const char*>(value);
    const std::size_t room = std::min<std::size_t>(
        length, m_versionData.data() + m_versionData.size() - static_cast<const BYTE*>(value));
    return std::string(text, std::find(text, text + room, '\0'));
}

bool CVersionInfo::InBlock(const void* value, std::size_t bytes) const {
    // Compared as numbers: the platform's pointer need not point into the block at all.
    const auto begin = reinterpret_cast<std::uintptr_t>(m_versionData.data());
    const auto at = reinterpret_cast<std::uintptr_t>(value);
    return value && at >= begin && at - begin <= m_versionData.size() &&
           bytes <= m_versionData.size() - (at - begin);
}

std::string CVersionInfo::GetLanguageName() const {
    char name[260] = {};
    ov::Sysinfo().VerLanguageNameA(m_wLanguage, name, sizeof name);
    return name;
}

const char* COvDEvedApp::GetVersion(const char* path) {
    CVersionInfo reader;
    std::string file; // a copy of the caller's text, owned outside the frame
    return ov::TextFrame(OV_APP_TRACE(GetVersion), g_versionText, [&](ov::ResultBuffer& text) {
        file = path;
        if (reader.Open(file.c_str())) ov::CopyCut(text, reader.GetFileVersion());
    });
}
