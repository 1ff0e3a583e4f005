// A file stream over a handle of our own. Creating with CREATE_NEW is one
// step in the file system, so no status query can be outrun by another
// program, and nothing behind a link is ever opened.
#include "convert/exclusive_file_stream.h"

namespace {
HRESULT lastError()
{
    return HRESULT_FROM_WIN32(GetLastError());
}

// A file still pending deletion refuses to be opened, so creating over it is
// refused as if access were denied; only a listing still shows it there.
bool standsInFolder(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

HRESULT setDeleteOnClose(HANDLE file, bool remove)
{
    FILE_DISPOSITION_INFO disposition{remove};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) ? S_OK
                                                                                                     : lastError();
}
}  // namespace

bool isNameTaken(HRESULT result)
{
    return result == HRESULT_FROM_WIN32(ERROR_FILE_EXISTS) || result == HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS) ||
           result == HRESULT_FROM_WIN32(ERROR_DELETE_PENDING);
}

HRESULT ExclusiveFileStream::create(const std::wstring& path, ComPtr<ExclusiveFileStream>& stream)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && standsInFolder(path)) return HRESULT_FROM_WIN32(ERROR_DELETE_PENDING);
        return HRESULT_FROM_WIN32(error);
    }
    // Marked at once, so that however the process ends before keep(), the
    // system removes the file.
    const HRESULT marked = setDeleteOnClose(file, true);
    if (FAILED(marked)) {
        // Opened without delete sharing: nobody can have replaced it since.
        CloseHandle(file);
        DeleteFileW(path.c_str());
        return marked;
    }
    stream = adoptCreated(new ExclusiveFileStream(file));
    return S_OK;
}

ExclusiveFileStream::~ExclusiveFileStream()
{
    CloseHandle(file_);
}

HRESULT ExclusiveFileStream::keep()
{
    return setDeleteOnClose(file_, false);
}

HRESULT ExclusiveFileStream::QueryInterface(REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    *object = iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream ? this : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG ExclusiveFileStream::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG ExclusiveFileStream::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT ExclusiveFileStream::Read(void* buffer, ULONG size, ULONG* read)
{
    DWORD done = 0;
    if (!ReadFile(file_, buffer, size, &done, nullptr)) return lastError();
    if (read) *read = done;
    return done == size ? S_OK : S_FALSE;
}

HRESULT ExclusiveFileStream::Write(const void* buffer, ULONG size, ULONG* written)
{
    DWORD done = 0;
    if (!WriteFile(file_, buffer, size, &done, nullptr)) return lastError();
    if (written) *written = done;
    return S_OK;
}

HRESULT ExclusiveFileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position)
{
    // STREAM_SEEK_SET, _CUR and _END have the values of FILE_BEGIN, _CURRENT and _END.
    LARGE_INTEGER moved{};
    if (!SetFilePointerEx(file_, move, &moved, origin)) return lastError();
    if (position) position->QuadPart = static_cast<ULONGLONG>(moved.QuadPart);
    return S_OK;
}

HRESULT ExclusiveFileStream::SetSize(ULARGE_INTEGER size)
{
    LARGE_INTEGER here{};
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size.QuadPart);
    if (!SetFilePointerEx(file_, LARGE_INTEGER{}, &here, FILE_CURRENT)) return lastError();
    if (!SetFilePointerEx(file_, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file_)) return lastError();
    return SetFilePointerEx(file_, here, nullptr, FILE_BEGIN) ? S_OK : lastError();
}

HRESULT ExclusiveFileStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*)
{
    return E_NOTIMPL;
}

HRESULT ExclusiveFileStream::Commit(DWORD)
{
    return S_OK;
}

HRESULT ExclusiveFileStream::Revert()
{
    return E_NOTIMPL;
}

HRESULT ExclusiveFileStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT ExclusiveFileStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT ExclusiveFileStream::Stat(STATSTG* stat, DWORD)
{
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size)) return lastError();
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
    stat->grfMode = STGM_READWRITE;
    return S_OK;
}

HRESULT ExclusiveFileStream::Clone(IStream** clone)
{
    if (clone) *clone = nullptr;
    return E_NOTIMPL;
}
