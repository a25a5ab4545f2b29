// Links to folders for the tests, made the way the platform allows, and
// removed as links: never what they point to.
#pragma once

#include <string>

// A link to a folder for the life of the scope. On Windows a symbolic link:
// an elevated process, as the tests are (the error log is in the Windows
// folder), or Developer Mode may make one. Wine 8 makes none (the call
// reports success and makes nothing), so under Wine only it is a host
// symbolic link, which Wine shows as a directory with
// FILE_ATTRIBUTE_REPARSE_POINT.
class DirectoryLink {
  public:
    DirectoryLink(const std::string& link, const std::string& target);
    ~DirectoryLink();
    DirectoryLink(const DirectoryLink&) = delete;
    DirectoryLink& operator=(const DirectoryLink&) = delete;

    bool Exists() const;

  private:
    std::wstring m_link;
};

// Removes the link at path (the \\?\ form), a link to a folder or to a file.
bool RemoveLink(const std::wstring& path, bool toFolder);

// The \\?\ form of a path: the wide calls then take any name and any length.
std::wstring LongForm(const std::wstring& path);
std::wstring Widened(const std::string& ansiPath);
// Wine only: the host's name of a Windows path whose folder exists; empty elsewhere.
std::wstring HostPath(const std::wstring& path);
