// Loading the shipped word list, and the two queries on its largest bucket.

#include <benchmark/benchmark.h>

#include <string>

#include "support/AllocationCounter.h"
#include "support/BoardSupport.h"

namespace {

struct LargestBucket {
    int index = 0;
    std::size_t size = 0;
};

LargestBucket largestBucket(const HashTable& table) {
    LargestBucket largest;
    for (int i = 0; i < HashTable::kBuckets; ++i) {
        const std::size_t size = bucketWords(table, i).size();
        if (size > largest.size) {
            largest = {i, size};
        }
    }
    return largest;
}

const Board& loadedBoard() {
    static Board board;
    static const bool loaded = (board.loadDictionary(WORDGRID_SHIPPED_LIST), true);
    (void)loaded;
    return board;
}

void BM_LoadShippedList(benchmark::State& state) {
    for (auto _ : state) {
        Board board;
        board.loadDictionary(WORDGRID_SHIPPED_LIST);
        benchmark::DoNotOptimize(TestPeer::head(TestPeer::words(board), 0));
    }
}
BENCHMARK(BM_LoadShippedList)->Unit(benchmark::kMillisecond);

// range(0): 0 = contains, 1 = containsPrefix; range(1): 0 = hit near the head, 1 = miss.
void BM_Query(benchmark::State& state) {
    const HashTable& table = TestPeer::words(loadedBoard());
    const LargestBucket largest = largestBucket(table);
    const bool prefix = state.range(0) == 1;
    const bool miss = state.range(1) == 1;
    const std::string& second = TestPeer::head(table, largest.index)->next->word;
    // A miss scans the whole bucket: the bucket's letter followed by letters no word has.
    const std::string query = miss ? std::string(1, static_cast<char>('a' + largest.index)) + "qxzqj"
                                   : (prefix ? second.substr(0, second.size() - 1) : second);
    const auto ask = [&] { return prefix ? table.containsPrefix(query) : table.contains(query); };
    if (ask() == miss) {
        state.SkipWithError("query does not hit or miss as intended");
        return;
    }
    // Counted outside the timed loop, where the library allocates for itself.
    const std::size_t allocationsBefore = allocation::count();
    for (int i = 0; i < 1000; ++i) {
        benchmark::DoNotOptimize(ask());
    }
    state.counters["allocations_in_1000"] = static_cast<double>(allocation::count() - allocationsBefore);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ask());
    }
    state.counters["bucket_words"] = static_cast<double>(largest.size);
    state.SetLabel(std::string(prefix ? "containsPrefix " : "contains ") + (miss ? "miss" : "hit") + " '" +
                   query + "'");
}
BENCHMARK(BM_Query)->ArgsProduct({{0, 1}, {0, 1}});

}  // namespace
