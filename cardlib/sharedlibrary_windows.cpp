#include "sharedlibrary.h"

#include <windows.h>

#include <mutex>

namespace cardlib {
namespace {

std::wstring Wide(const std::string& text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

// The system's text for `code`, in the user's language, without its line end.
std::string SystemMessage(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        return "error " + std::to_string(code);
    return Utf8(text);
}

} // namespace

SharedLibrary::~SharedLibrary()
{
    if (handle_)
        FreeLibrary(static_cast<HMODULE>(handle_));
}

bool SharedLibrary::Open(const std::string& path, std::string* error)
{
    // The current folder is anyone's: a library planted there must never be
    // the one a bare name finds. An empty DLL directory takes it out of the
    // search order for the whole process.
    static std::once_flag searchOrder;
    std::call_once(searchOrder, [] { SetDllDirectoryW(L""); });

    std::wstring wide = Wide(path);
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    const bool hasFolder = wide.find(L'\\') != std::wstring::npos || wide.find(L':') != std::wstring::npos;
    // A library given by its full path finds the libraries it needs beside
    // itself first. No dialog box for a missing one: the caller reports it.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    HMODULE module = LoadLibraryExW(wide.c_str(), nullptr, hasFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    const DWORD code = GetLastError();
    SetThreadErrorMode(oldMode, nullptr);
    handle_ = module;
    if (!module && error)
        *error = Utf8(wide) + ": " + SystemMessage(code);
    return module != nullptr;
}

void* SharedLibrary::Symbol(const char* name, std::string* error) const
{
    const FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), name);
    if (!address && error)
        *error = SystemMessage(GetLastError());
    return reinterpret_cast<void*>(address);
}

std::string ProgramDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return ".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2); // a long path, cut at the buffer's end
    }
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? "." : Utf8(path.substr(0, slash));
}

} // namespace cardlib
