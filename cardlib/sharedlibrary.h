// A library loaded at run time, and the folder of the running program: what
// the operating system's loader does, behind one small interface with one
// implementation per system (sharedlibrary_posix.cpp, sharedlibrary_windows.cpp).
// Paths and texts are UTF-8.
#pragma once

#include <string>

namespace cardlib {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Opens the library at `path`: a path with a folder is taken as it is, a
    // bare file name is looked for on the system's own search path (never in
    // the current folder). On failure `error` gets the loader's reason, which
    // names the path.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return handle_ != nullptr; }

    // The address of `name`, or nullptr with the loader's reason in `error`.
    void* Symbol(const char* name, std::string* error) const;

private:
    void* handle_ = nullptr;
};

// The folder of the running program file, as the system reports it (links
// resolved), without a trailing separator; "." when it cannot say.
std::string ProgramDirectory();

} // namespace cardlib
