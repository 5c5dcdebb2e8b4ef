// The heartbeat: what a timer tick and an empty paint cost, and whether a
// tick allocates. Figures, not assertions: run build/bench/vm_bench.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/main_frame.h"
#include "app/view.h"
#include "platform/egl/egl_context.h"
#include "state/bench_state.h"

namespace {

std::atomic<long> gAllocations{0};

// Does what the window system would, at no cost of its own.
class QuietPlatform : public vm::Platform {
 public:
  void SetStatusText(const char*) override {}
  void SetTimer(int, int) override {}
  void KillTimer(int) override {}
  void Invalidate() override {}
  void MessageBox(const char*) override {}
  int RunModal(const vm::DialogTemplate&, vm::DialogHandler&) override { return 0; }
  int Clock() override { return now += 3; }
  int64_t ClockNs() override { return now += 3; }
  std::tm LocalTime() override { return {}; }
  void Exit(int) override {}
  int now = 0;
};

void BM_BenchmarkTick(benchmark::State& state) {
  QuietPlatform platform;
  vm::CMainFrame frame(platform);
  frame.OnCreate();
  vm::BenchState.secondsPerScene = 1 << 20;  // stay in the first scene
  frame.OnInitBenchs();
  const long before = gAllocations.load();
  for (auto _ : state) {
    vm::BenchState.frameDone = 1;  // the paint in between
    frame.OnTimer();
  }
  state.counters["allocs/tick"] =
      benchmark::Counter(static_cast<double>(gAllocations.load() - before) / state.iterations());
}
BENCHMARK(BM_BenchmarkTick);

void BM_EmptyPaint(benchmark::State& state) {
  static vm::EglContext gl(vm::kDefaultViewWidth, vm::kDefaultViewHeight);
  if (!gl.Open()) {
    state.SkipWithError(gl.error().c_str());
    return;
  }
  QuietPlatform platform;
  auto view = std::make_unique<vm::CVelmark3View>(platform, gl);
  view->OnSize(vm::kDefaultViewWidth, vm::kDefaultViewHeight);
  vm::BenchState.displayMode = 7;  // no drawer: clear, finish and swap only
  const long before = gAllocations.load();
  for (auto _ : state) view->OnDraw();
  state.counters["allocs/paint"] =
      benchmark::Counter(static_cast<double>(gAllocations.load() - before) / state.iterations());
}
BENCHMARK(BM_EmptyPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

void* operator new(std::size_t n) {
  ++gAllocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

BENCHMARK_MAIN();
