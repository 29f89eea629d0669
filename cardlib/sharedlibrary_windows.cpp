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

// The library `name` from the first folder of PATH that has it; relative
// folders (".") and the current folder itself are passed over.
HMODULE LoadFromPath(const std::wstring& name)
{
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0)
        return nullptr;
    std::wstring path(size, L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", path.data(), size));
    std::wstring current(MAX_PATH, L'\0');
    current.resize(GetCurrentDirectoryW(MAX_PATH, current.data()));
    auto trimmed = [](std::wstring folder) {
        while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
            folder.pop_back();
        return folder;
    };
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(L';', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring folder = trimmed(path.substr(start, end - start));
        start = end + 1;
        const bool absolute = folder.size() >= 2 && (folder[1] == L':' || (folder[0] == L'\\' && folder[1] == L'\\'));
        if (!absolute || CompareStringOrdinal(folder.c_str(), -1, trimmed(current).c_str(), -1, TRUE) == CSTR_EQUAL)
            continue;
        const std::wstring file = folder + L'\\' + name;
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        if (HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH))
            return module;
    }
    return nullptr;
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
    // search order for the whole process (the libraries this one needs
    // included); a bare name itself is looked for only in the program's
    // folder, the system's, then the folders of PATH, never in the current
    // one, whatever the loader's own order says.
    static std::once_flag searchOrder;
    std::call_once(searchOrder, [] { SetDllDirectoryW(L""); });

    std::wstring wide = Wide(path);
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    const bool hasFolder = wide.find(L'\\') != std::wstring::npos || wide.find(L':') != std::wstring::npos;
    // No dialog box for a missing library: the caller reports it.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    // A library given by its full path finds the libraries it needs beside
    // itself first.
    HMODULE module = LoadLibraryExW(wide.c_str(), nullptr,
                                    hasFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    const DWORD code = GetLastError();
    if (!module && !hasFolder)
        module = LoadFromPath(wide);
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
