// Reads a file's version resource and answers string queries from the string
// table that best fits: the first translation, then the three US English
// tables, then the other translations; the first with a "FileVersion" wins.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/afx.h"

class CVersionInfo : public CObject {
  public:
    CVersionInfo() = default;
    ~CVersionInfo() override;
    CVersionInfo(const CVersionInfo&) = delete;
    CVersionInfo& operator=(const CVersionInfo&) = delete;

    const CRuntimeClass* GetRuntimeClass() const override { return nullptr; }

    // Loads the file's version resource and selects a string table; false
    // leaves the reader empty.
    bool Open(const char* path);
    // Frees the version data; the reader is empty again.
    void Reset();
    // The key's text in the selected table; empty when absent or nothing is loaded.
    std::string QueryString(const char* key) const;

    std::string GetCompanyName() const { return QueryString("CompanyName"); }
    std::string GetFileDescription() const { return QueryString("FileDescription"); }
    std::string GetFileVersion() const { return QueryString("FileVersion"); }
    std::string GetInternalName() const { return QueryString("InternalName"); }
    std::string GetLegalCopyright() const { return QueryString("LegalCopyright"); }
    std::string GetOriginalFilename() const { return QueryString("OriginalFilename"); }
    std::string GetProductName() const { return QueryString("ProductName"); }
    std::string GetProductVersion() const { return QueryString("ProductVersion"); }
    std::string GetSpecialBuild() const { return QueryString("SpecialBuild"); }
    // The platform's display name of the selected table's language.
    std::string GetLanguageName() const;

    WORD GetLanguage() const { return m_wLanguage; }
    WORD GetCodePage() const { return m_wCodePage; }
    const std::string& GetStringTablePath() const { return m_strTablePath; }
    bool IsLoaded() const { return !m_versionData.empty(); }

  private:
    // Picks the first table with a non-empty "FileVersion"; resets when none has one.
    bool SelectTranslation();
    // Selects the table of one language and code page if its "FileVersion" is not empty.
    bool TrySelect(WORD language, WORD codePage);
    bool FixedPartIsValid() const;
    // Whether bytes at value lie wholly inside the version data.
    bool InBlock(const void* value, std::size_t bytes) const;

    WORD m_wLanguage = 0;
    WORD m_wCodePage = 0;
    std::string m_strTablePath;
    std::vector<BYTE> m_versionData;
};
