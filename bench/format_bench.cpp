// appendFormat over the templates of one newspaper row (past-results
// edition): the bracket cell, the name, sex and age, coat and weight, the
// jockey, earnings, the distance bands and the birth line. Hundreds of such
// calls build every page, so their cost shows in `paper` and `predict-all`.
//
// Run: build/bench/format_bench

#include "text/format.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using zelkor::appendFormat;

// One row's calls; `out` is cleared by the caller so its capacity is reused.
void appendRow(std::string& out, int k) {
    appendFormat(out, " <TD BGCOLOR=%s rowspan=2 width=70><p align=right>%d枠 %2d番%s</p></TD>\r\n",
                 "ffff66", (k + 1) / 2, k, "<br><img src=\"kage.gif\">");
    appendFormat(out,
                 " <TD width=20><font size=1>%s%s</font></TD><TD width=140><a href=\"%s\" "
                 "TARGET=_blank><b>%s</b></a></TD>\r\n",
                 "", "◎", "https://example.com/search?q=ゼルコ", "ゼルコスピード");
    appendFormat(out, " <TD width=35><center>%s%d</center></TD>\r\n", "牡", 3 + k % 5);
    appendFormat(out, " <TD width=50><center>%s</center></TD><TD width=40>%2.1f%s</TD>\r\n", "栗毛",
                 57.0 - k % 3, "");
    appendFormat(out, " <TD width=107>%s%s</TD>\r\n", "", "武田太郎");
    appendFormat(out,
                 " <TD rowspan=2 width=120><font size=2><p align=left>収得金 %d万<br>本賞金 "
                 "%d万<br>\r\n",
                 1200 + k * 37, 4500 + k * 91);
    appendFormat(out, "～1600m %d,%d,%d,%d<br>", k % 4, 1, 0, 12 - k % 7);
    appendFormat(out, "～2200m %d,%d,%d,%d<br>", 2, k % 3, 1, 7);
    appendFormat(out, "2201m～ %d,%d,%d,%d", 0, 0, k % 2, 3);
    appendFormat(out, " <TR><TD colspan=4 width=260><font size=2>%d.%d.%d生 %s %s<br>\r\n",
                 2020 + k % 3, 1 + k % 12, 1 + k % 28, "浦河", "ゼルコ牧場");
}

constexpr int kCallsPerRow = 10;

void BM_NewspaperRow(benchmark::State& state) {
    std::string out;
    int k = 1;
    for (auto _ : state) {
        out.clear();
        appendRow(out, k);
        k = k % 18 + 1;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["nsPerCall"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kCallsPerRow,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NewspaperRow);

// The commonest single call: a bracket cell of integers and texts.
void BM_BracketCell(benchmark::State& state) {
    std::string out;
    int k = 1;
    for (auto _ : state) {
        out.clear();
        appendFormat(out, " <TD BGCOLOR=%s><p align=right>%d枠 %2d番%s</p></TD>\r\n", "ffff66",
                     (k + 1) / 2, k, "");
        k = k % 18 + 1;
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_BracketCell);

} // namespace

BENCHMARK_MAIN();
