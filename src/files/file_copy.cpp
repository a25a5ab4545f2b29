#include "files/file_copy.h"

#include "core/app.h"
#include "core/handles.h"
#include "files/paths.h"

namespace ov {

HANDLE OpenForReading(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

FileStamp ReadStamp(HANDLE file) {
    FileStamp stamp;
    GetFileTime(file, nullptr, nullptr, &stamp.lastWrite);
    // A 64-bit answer with its own failure flag: 0xFFFFFFFF in the low half is a size.
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size)) stamp.size = static_cast<std::uint64_t>(size.QuadPart);
    return stamp;
}

FileStamp StampOf(const WIN32_FIND_DATAA& entry) {
    FileStamp stamp;
    stamp.lastWrite = entry.ftLastWriteTime;
    stamp.size = (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    return stamp;
}

bool DestinationMatches(const char* destination, const FileStamp& source) {
    const UniqueFile dest(OpenForReading(destination));
    return dest && ReadStamp(dest.get()) == source;
}

} // namespace ov

IMPLEMENT_DYNCREATE(CFileCopy)

short COvDEvedApp::FileCopy(const char* source, const char* dest, short failIfExists,
                            short skipIdentical) {
    return StartRequest<CFileCopy>("COvDEvedApp::FileCopy", "-1", [&](CFileCopy& worker) {
        return worker.Start(source, dest, failIfExists, skipIdentical);
    });
}

BOOL CCopyWorker::Start(const char* source, const char* dest, short failIfExists,
                        short skipIdentical) {
    m_strSource = source;
    m_strDest = dest;
    m_nFailIfExists = failIfExists;
    m_nSkipIdentical = skipIdentical;
    return CreateThread(0, 0, nullptr);
}

BOOL CFileCopy::InitInstance() {
    // A path that does not fit the path buffers is refused without touching
    // the file system: an unusable source reads as unreadable, an unusable
    // destination as a failed copy.
    short code = -1;
    if (!ov::FitsPath(m_strSource))
        code = -1;
    else if (!ov::FitsPath(m_strDest))
        code = 0;
    else
        code = CopyOneFile(m_strSource.c_str(), m_strDest.c_str(), m_nFailIfExists);
    return FinishRequest(std::to_string(code));
}

short CFileCopy::CopyOneFile(const char* source, const char* dest, short failIfExists) {
    bool copyNeeded = true;
    {
        const ov::UniqueFile src(ov::OpenForReading(source));
        if (!src) return -1;
        if (m_nSkipIdentical && ov::DestinationMatches(dest, ov::ReadStamp(src.get())))
            copyNeeded = false;
    }
    if (!copyNeeded) return 1;
    return CopyFileA(source, dest, failIfExists) ? 1 : 0;
}
