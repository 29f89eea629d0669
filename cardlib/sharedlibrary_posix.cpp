#include "sharedlibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace cardlib {

SharedLibrary::~SharedLibrary()
{
    if (handle_)
        dlclose(handle_);
}

bool SharedLibrary::Open(const std::string& path, std::string* error)
{
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_ && error) {
        const char* why = dlerror();
        *error = why ? why : path + ": cannot be opened";
    }
    return handle_ != nullptr;
}

void* SharedLibrary::Symbol(const char* name, std::string* error) const
{
    dlerror();
    void* address = dlsym(handle_, name);
    if (!address && error) {
        const char* why = dlerror();
        *error = why ? why : std::string();
    }
    return address;
}

std::string ProgramDirectory()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    std::string exe(path, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

} // namespace cardlib
