// Tree nodes and grouping on the grid object on a shown 800 x 600 form (headless backend), at 1 000 and
// 10 000 nodes of 10 rows each (10 000 and 100 000 rows, 4 columns): adding the nodes, ContractAll and
// ExpandAll, ContractAll and each node expanded on its own, NodeIndent of a page of 30 rows at the bottom after a change (per page), and Group on a
// column of as many distinct values followed by UnGroup. Each reports its fit against the node count.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "ShownGrid.h"
#include "grid/DovAdiz.h"

namespace {

constexpr int kCols = 4;
constexpr int kRowsPerNode = 10;

using ShownGrid = ShownGridOf<velmora::VUraRazuduVova>;

std::unique_ptr<ShownGrid> GridOfNodes(int nodes, bool withNodes) {
  auto shown = std::make_unique<ShownGrid>(kCols, nodes * kRowsPerNode + 1, kCols);
  if (withNodes)
    for (int n = 0; n < nodes; ++n) shown->grid->AddNode(1 + n * kRowsPerNode, 0);
  return shown;
}

void BM_AddNodes(benchmark::State& state) {
  const int nodes = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto shown = GridOfNodes(nodes, false);
    state.ResumeTiming();
    for (int n = 0; n < nodes; ++n) shown->grid->AddNode(1 + n * kRowsPerNode, kRowsPerNode - 1);
    state.PauseTiming();
    shown.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(nodes);
}

void BM_ContractAllAndExpandAll(benchmark::State& state) {
  const int nodes = static_cast<int>(state.range(0));
  auto shown = GridOfNodes(nodes, true);
  for (auto _ : state) {
    shown->grid->ContractAll();
    shown->grid->ExpandAll();
  }
  state.SetComplexityN(nodes);
}

// Every node contracted, then each expanded on its own, as a program walking its groups would: each
// expansion should cost its own rows, not every hidden row after it.
void BM_ContractAllAndExpandEach(benchmark::State& state) {
  const int nodes = static_cast<int>(state.range(0));
  auto shown = GridOfNodes(nodes, true);
  for (auto _ : state) {
    shown->grid->ContractAll();
    for (int n = 0; n < nodes; ++n) shown->grid->ExpandNode(1 + n * kRowsPerNode);
  }
  state.SetComplexityN(nodes);
}

// A page as painting asks it: 30 binary searches, after a change of the nodes also the index rebuilt
// once.
void BM_NodeIndentOfAPage(benchmark::State& state, bool afterChange) {
  const int nodes = static_cast<int>(state.range(0));
  auto shown = GridOfNodes(nodes, true);
  velmora::VUraRazuduVova& grid = *shown->grid;
  const int bottom = grid.RowCount() - 30;
  int sum = 0;
  for (auto _ : state) {
    if (afterChange) {
      grid.ContractNode(1);
      grid.ExpandNode(1);
    }
    for (int r = bottom; r < bottom + 30; ++r) sum += grid.NodeIndent(r);
  }
  benchmark::DoNotOptimize(sum);
  state.SetComplexityN(nodes);
}

void BM_GroupDistinctValuesAndUnGroup(benchmark::State& state) {
  const int values = static_cast<int>(state.range(0));
  auto shown = std::make_unique<ShownGrid>(kCols, values + 1, 0);
  velmora::VUraRazuduVova& grid = *shown->grid;
  grid.SetFixedRows(1);
  for (int r = 1; r <= values; ++r) {
    grid.SetCells(1, r, std::to_string(r));
    grid.SetCells(2, r, "host" + std::to_string((r * 7919) % values));
  }
  for (auto _ : state) {
    grid.Group(2);
    grid.UnGroup();
  }
  state.SetComplexityN(values);
}

BENCHMARK(BM_AddNodes)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_ContractAllAndExpandAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_ContractAllAndExpandEach)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_NodeIndentOfAPage, AfterAChange, true)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_NodeIndentOfAPage, Unchanged, false)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oLogN);
BENCHMARK(BM_GroupDistinctValuesAndUnGroup)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
