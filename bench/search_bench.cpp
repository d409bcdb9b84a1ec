// The search pass over many seeded grids, and a whole load-fill-search run.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

#include "support/AllocationCounter.h"
#include "support/BoardSupport.h"

namespace {

void BM_SearchPass(benchmark::State& state) {
    Board board;
    board.loadDictionary(WORDGRID_SHIPPED_LIST);
    std::mt19937 random(1);
    std::size_t allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TestPeer::setLetters(board, randomGrid(random));
        const std::size_t before = allocation::count();
        state.ResumeTiming();
        searchEverySquare(board);
        allocations += allocation::count() - before;
    }
    state.counters["allocations_per_grid"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SearchPass)->Unit(benchmark::kMicrosecond);

void BM_WholeRun(benchmark::State& state) {
    std::ostringstream sink;
    std::streambuf* console = std::cout.rdbuf(sink.rdbuf());
    unsigned seed = 0;
    for (auto _ : state) {
        std::srand(++seed);
        Board board;
        board.loadDictionary(WORDGRID_SHIPPED_LIST);
        board.randomize();
        board.print();
        searchEverySquare(board);
        board.printWords();
        sink.str("");
    }
    std::cout.rdbuf(console);
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond);

}  // namespace
