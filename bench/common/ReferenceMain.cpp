// The main of benchmark programs whose figures depend on the whole machine (a private X
// server, other processes): after every figure the same fixed, processor-bound loop is
// timed and printed beside it as reference_ms. On a busy machine the loop slows down
// too: a figure that grew with its reference is the machine's, one that grew alone is
// the program's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {
// Ten million steps of a xorshift generator: each step waits for the one before, so
// neither the compiler nor the processor can shorten it. About 20 ms on an idle core.
double ReferenceMilliseconds()
{
    auto start = std::chrono::steady_clock::now();
    uint64_t x = 88172645463325252u;
    for (int i = 0; i < 10000000; i++) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
    }
    benchmark::DoNotOptimize(x);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class ReferenceReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        std::vector<Run> withReference = runs;
        double reference = ReferenceMilliseconds();
        for (Run& run : withReference)
            run.counters["reference_ms"] = benchmark::Counter(reference);
        ConsoleReporter::ReportRuns(withReference);
    }
};
}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ReferenceReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
