// An output file created only where nothing stands yet, not even a dangling
// link, and the stream an encoder writes it through. The file is removed when
// closed unless kept, so no crash leaves a partial file and no other file is
// ever removed.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <string>

#include "convert/imaging.h"

// True for the codes creation gives when something already stands under the
// name, a file still pending deletion included.
bool isNameTaken(HRESULT result);

class ExclusiveFileStream final : public IStream {
public:
    // Fails with a code isNameTaken accepts when anything exists at path.
    static HRESULT create(const std::wstring& path, ComPtr<ExclusiveFileStream>& stream);
    // Until this succeeds, the file goes away once the handle is closed, also
    // when the process ends in any way.
    HRESULT keep();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

private:
    explicit ExclusiveFileStream(HANDLE file) : file_(file) {}
    ~ExclusiveFileStream();

    LONG references_ = 1;
    HANDLE file_;
};
