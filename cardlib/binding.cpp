#include "binding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "calllog.h"

namespace cardlib {

Loader::Loader(std::vector<std::string> candidates) : candidates_(std::move(candidates)) {}

Loader::~Loader()
{
    if (handle_)
        dlclose(handle_);
}

bool Loader::Open(std::string* error)
{
    if (handle_)
        return true;
    std::string reasons;
    for (const std::string& path : candidates_) {
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_)
            return true;
        const char* why = dlerror();
        if (!reasons.empty())
            reasons += "\n";
        reasons += why ? why : path + ": cannot be opened";
    }
    if (error)
        *error = "无法加载卡驱动库 " + std::string(kLibraryFile) + "：\n" + reasons;
    return false;
}

void* Loader::Resolve(const char* name, std::string* error)
{
    if (!Open(error))
        return nullptr;
    dlerror();
    void* address = dlsym(handle_, name);
    if (!address && error) {
        const char* why = dlerror();
        *error = "卡驱动库 " + std::string(kLibraryFile) + " 中找不到函数 " + name;
        if (why)
            *error += "：\n" + std::string(why);
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

namespace {

std::mutex handlerMutex;

FailureHandler& Handler()
{
    static FailureHandler handler;
    return handler;
}

} // namespace

Loader& ProgramLibrary()
{
    static Loader loader({ProgramDirectory() + "/" + kLibraryFile, kLibraryFile});
    return loader;
}

void SetFailureHandler(FailureHandler handler)
{
    std::lock_guard lock(handlerMutex);
    Handler() = std::move(handler);
}

void* Bind(const char* name)
{
    static std::mutex bindMutex;
    std::string error;
    void* address = nullptr;
    {
        std::lock_guard lock(bindMutex);
        address = ProgramLibrary().Resolve(name, &error);
    }
    if (address)
        return address;
    FailureHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = Handler();
    }
    if (handler)
        handler(error);
    std::fprintf(stderr, "%s\n", error.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

// Each wrapper resolves its function once, on its first call, and makes
// every call through the call log.
#define TVN_FUNCTION(result, name, params, answer)                      \
    result name(TVN_NAMED params)                                       \
    {                                                                   \
        using Fn = result(TVN_CALL*) params;                            \
        static const Fn fn = reinterpret_cast<Fn>(Bind(#name));         \
        return calllog::Call<Function::name>(fn TVN_COMMA_ARGS params); \
    }
#include "tvn_functions.h"
#undef TVN_FUNCTION

} // namespace cardlib
