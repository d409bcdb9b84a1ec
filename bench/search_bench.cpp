// The search pass over many seeded grids, and a whole load-fill-search run.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ostream>
#include <random>
#include <sstream>

#include "Play.h"
#include "support/AllocationCounter.h"
#include "support/BoardSupport.h"

namespace {

void BM_SearchPass(benchmark::State& state) {
    Board board;
    board.loadDictionary(WORDGRID_SHIPPED_LIST);
    std::mt19937 random(1);
    std::ostream discard(nullptr);  // writes nothing, and so allocates nothing
    std::size_t allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TestPeer::setLetters(board, randomGrid(random));
        const std::size_t before = allocation::count();
        state.ResumeTiming();
        searchPass(board, discard);
        allocations += allocation::count() - before;
    }
    state.counters["allocations_per_grid"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SearchPass)->Unit(benchmark::kMicrosecond);

// The program's run up to its key wait, on a new seed each time.
void BM_WholeRun(benchmark::State& state) {
    std::ostringstream sink;
    unsigned seed = 0;
    for (auto _ : state) {
        std::srand(++seed);
        Board board;
        playOnce(board, WORDGRID_SHIPPED_LIST, sink);
        sink.str("");
    }
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond);

}  // namespace
