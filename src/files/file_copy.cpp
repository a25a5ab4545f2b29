#include "files/file_copy.h"

#include "core/app.h"
#include "core/call_frame.h"
#include "files/files_platform.h"
#include "files/paths.h"

namespace ov {

HANDLE OpenForReading(const wchar_t* path) {
    return Files().CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

FileStamp ReadStamp(HANDLE file) {
    FileStamp stamp;
    Files().GetFileTime(file, nullptr, nullptr, &stamp.lastWrite);
    // A 64-bit answer with its own failure flag: 0xFFFFFFFF in the low half is a size.
    LARGE_INTEGER size;
    if (Files().GetFileSizeEx(file, &size)) stamp.size = static_cast<std::uint64_t>(size.QuadPart);
    return stamp;
}

FileStamp StampOf(const WIN32_FIND_DATAW& entry) {
    FileStamp stamp;
    stamp.lastWrite = entry.ftLastWriteTime;
    stamp.size = (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    return stamp;
}

bool DestinationMatches(const wchar_t* destination, const FileStamp& source) {
    const FsFile dest(OpenForReading(destination));
    return dest && ReadStamp(dest.get()) == source;
}

} // namespace ov

IMPLEMENT_DYNCREATE(CFileCopy)

short COvDEvedApp::FileCopy(const char* source, const char* dest, short failIfExists,
                            short skipIdentical) {
    return StartRequest<CFileCopy>(OV_APP_TRACE(FileCopy), "-1", [&](CFileCopy& worker) {
        return worker.Start(source, dest, failIfExists, skipIdentical);
    });
}

BOOL CCopyWorker::Start(const char* source, const char* dest, short failIfExists,
                        short skipIdentical) {
    m_strSource = source;
    m_strDest = dest;
    m_nFailIfExists = failIfExists;
    m_nSkipIdentical = skipIdentical;
    return CreateThread();
}

BOOL CFileCopy::InitInstance() {
    // A text longer than 259 characters, or one the code page does not read,
    // is never handed to the file system: an unusable source reads as
    // unreadable, an unusable destination as a failed copy.
    const auto usable = [](const std::string& text) {
        return ov::FitsPath(text) ? ov::LongPathFromAnsi(text) : std::nullopt;
    };
    const std::optional<std::wstring> source = usable(m_strSource);
    const std::optional<std::wstring> dest = usable(m_strDest);
    short code = -1;
    if (source && dest)
        code = CopyOneFile(source->c_str(), dest->c_str(), m_nFailIfExists);
    else if (source)
        code = ov::FsFile(ov::OpenForReading(source->c_str())) ? 0 : -1;
    return FinishRequest(std::to_string(code));
}

short CFileCopy::CopyOneFile(const wchar_t* source, const wchar_t* dest, short failIfExists) {
    bool copyNeeded = true;
    {
        const ov::FsFile src(ov::OpenForReading(source));
        if (!src) return -1;
        if (m_nSkipIdentical && ov::DestinationMatches(dest, ov::ReadStamp(src.get())))
            copyNeeded = false;
    }
    if (!copyNeeded) return 1;
    return ov::Files().CopyFileW(source, dest, failIfExists) ? 1 : 0;
}
