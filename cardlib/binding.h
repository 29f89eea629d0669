// Run-time binding of the card driver library.
//
// Each cardlib::tvn_... function resolves its namesake in the card driver
// library (kLibraryFile) on its first call: the library is looked for in the
// program's own directory first, then on the system's library search path. A library or function that cannot
// be found is reported through the failure handler, which does not return.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sharedlibrary.h"
#include "tvn_params.h"

namespace cardlib {

// The file name of the card driver library on this platform.
#ifdef _WIN32
inline constexpr const char* kLibraryFile = "Tolvane.dll";
#else
inline constexpr const char* kLibraryFile = "libTolvane.so";
#endif

// Loads one library from the first path of a list that opens, and resolves
// names in it. This is the only place that knows how the library is found.
class Loader {
public:
    explicit Loader(std::vector<std::string> candidates);
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;

    // The address of `name`, or nullptr with `error` set to a message that
    // names the library file or the function.
    void* Resolve(const char* name, std::string* error);

private:
    bool Open(std::string* error);

    std::vector<std::string> candidates_;
    SharedLibrary library_;
};

// The card driver library the program uses: its own folder's, else the one
// on the library search path. The binding resolves every card function here.
Loader& ProgramLibrary();

// Called with the message when the library or a function is missing. It must
// not return; the default prints the message and ends the process with 1.
using FailureHandler = std::function<void(const std::string& message)>;
void SetFailureHandler(FailureHandler handler);

// The address of `name` in the card driver library; on failure the failure
// handler runs and this never returns.
void* Bind(const char* name);

#define TVN_FUNCTION(result, name, params, answer) result name(TVN_NAMED params);
#include "tvn_functions.h"
#undef TVN_FUNCTION

} // namespace cardlib
