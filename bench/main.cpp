#include "BenchMain.h"
#include "FindBench.h"
#include "KeysCheck.h"
#include "SortBench.h"

#include <iterator>

namespace {

// The core's commands, on tablora_core alone: no window library is loaded,
// so the peak memory of a command is the table's and the core's. A new
// command is one line here and one function in BenchCommands.h.
constexpr CommandSpec kCommands[] = {
    {"gen", "N OUT.db", runGen},
    {"gen-distinct", "words|numbered N OUT.db", runGenDistinct},
    {"roundtrip", "IN.db OUT.db", runRoundtrip},
    {"stamp", "FILE", runStamp},
    {"import", "OLD.db OUT.db", runImport},
    {"save", "IN.db OUT.db", runSave},
    {"settings", "FILE N LENGTH", runSettings},
    {"sort", "IN.db COL DIR OUT.db", runSortBench},
    {"find", "N", runFindBench},
    {"csv", "IN.db OUT", runCsvBench},
    {"keys-check", "N", runKeysCheck},
};

} // namespace

int main(int argc, char *argv[])
{
    return runBenchCommand(argc, argv, "tablora-bench", std::begin(kCommands), std::end(kCommands));
}
