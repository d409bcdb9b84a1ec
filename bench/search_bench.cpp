// The search pass over many seeded grids, and a whole load-fill-search run.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "Board.h"
#include "support/AllocationCounter.h"

namespace {

void searchPass(Board& board) {
    for (int row = 0; row < Board::kSize; ++row) {
        for (int col = 0; col < Board::kSize; ++col) {
            board.search(row, col);
        }
    }
}

void BM_SearchPass(benchmark::State& state) {
    Board board;
    board.loadDictionary(WORDGRID_SHIPPED_LIST);
    unsigned seed = 0;
    std::size_t allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::srand(++seed);
        std::string letters;
        for (int i = 0; i < 9; ++i) {
            letters += static_cast<char>('a' + std::rand() % 26);
        }
        board.setLettersForTest(letters);
        const std::size_t before = allocation::count();
        state.ResumeTiming();
        searchPass(board);
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
        searchPass(board);
        board.printWords();
        sink.str("");
    }
    std::cout.rdbuf(console);
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond);

}  // namespace
