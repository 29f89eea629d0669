#include "binding.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "calllog.h"

namespace cardlib {

Loader::Loader(std::vector<std::string> candidates) : candidates_(std::move(candidates)) {}

bool Loader::Open(std::string* error)
{
    if (library_.IsOpen())
        return true;
    std::string reasons;
    for (const std::string& path : candidates_) {
        std::string why;
        if (library_.Open(path, &why))
            return true;
        if (!reasons.empty())
            reasons += "\n";
        reasons += why;
    }
    if (error)
        *error = "无法加载卡驱动库 " + std::string(kLibraryFile) + "：\n" + reasons;
    return false;
}

void* Loader::Resolve(const char* name, std::string* error)
{
    if (!Open(error))
        return nullptr;
    std::string why;
    void* address = library_.Symbol(name, error ? &why : nullptr);
    if (!address && error) {
        *error = "卡驱动库 " + std::string(kLibraryFile) + " 中找不到函数 " + name;
        if (!why.empty())
            *error += "：\n" + why;
    }
    return address;
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
