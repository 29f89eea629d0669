// The exported entry points: each runs its simulated answer through Call(),
// which applies scripted results, the trace and the recorded calls.
#include "calls.h"
#include "export.h"
#include "sim.h"
#include "cardlib/tolvane.h"
#include "cardlib/tvn_params.h"

namespace tolvane {

#define TVN_FUNCTION(result, name, params, answer)                                                    \
    extern "C" TVN_EXPORT result TVN_CALL name(TVN_NAMED params)                                      \
    {                                                                                                 \
        return Call<result>(#name, [&] { return sim::name(TVN_ARGS params); } TVN_COMMA_ARGS params); \
    }
#include "cardlib/tvn_functions.h"
#undef TVN_FUNCTION

} // namespace tolvane
