// Reading and writing a generated 100 000-point raw job (800 000 point lines), against a plain tokenizing
// pass of awk over the same file in the same run.
//   raw_file_io [--points=N] [benchmark options]
// Counters: ratio_to_awk (read time / awk time, wall clock, target <= 2), cpu_ratio_to_awk (the same in
// processor time, which a loaded machine disturbs less), read_peak_MB (peak resident memory of a separate
// process that only reads the job, target <= 300), ratio_to_read (Save as of the unedited job / read time,
// target <= 1; the edited variant rewrites the point line of every 100th rover).
//   raw_file_io --read-peak=<path> reads one job and prints the peak resident memory of its process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "RawJobGenerator.h"
#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"

namespace {

int gPoints = 100000;
std::string gInput;
std::string gOutput;
double gAwkSeconds = 0.0;
double gAwkCpuSeconds = 0.0;
double gReadSeconds = 0.0;

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

std::string gSelf;  // this program, run again to measure the peak memory of reading alone

// Peak resident memory of a fresh process that reads the job (this process has generated it and holds
// the benchmark's own jobs).
double readPeakMegabytes() {
    const std::string command = "'" + gSelf + "' --read-peak='" + gInput + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    char answer[64] = {};
    const bool got = pipe && std::fgets(answer, sizeof answer, pipe);
    if (pipe) pclose(pipe);
    return got ? std::atof(answer) : -1.0;
}

void BM_AwkFieldCount(benchmark::State& state) {
    const std::string command = "awk -F, '{n+=NF} END{print n}' '" + gInput + "'";
    double total = 0.0;
    const double childCpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::FILE* pipe = popen(command.c_str(), "r");
        char answer[64] = {};
        if (!pipe || !std::fgets(answer, sizeof answer, pipe)) state.SkipWithError("awk did not run");
        if (pipe) pclose(pipe);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["fields"] = std::atof(answer);
    }
    gAwkSeconds = total / static_cast<double>(state.iterations());
    gAwkCpuSeconds = (cpuSeconds(RUSAGE_CHILDREN) - childCpuBefore) / static_cast<double>(state.iterations());
    state.counters["awk_cpu_ms"] = gAwkCpuSeconds * 1e3;
}

void BM_ReadRawJob(benchmark::State& state) {
    const QString path = QString::fromStdString(gInput);
    double total = 0.0;
    double cpu = 0.0;
    qsizetype rovers = 0;
    for (auto _ : state) {
        const double cpuStart = cpuSeconds(RUSAGE_SELF);
        const auto start = std::chrono::steady_clock::now();
        RawJob job;
        if (!readRawJob(path, job)) state.SkipWithError("cannot read the generated job");
        rovers = job.rovers.size();
        benchmark::DoNotOptimize(job);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += cpuSeconds(RUSAGE_SELF) - cpuStart;
    }
    gReadSeconds = total / static_cast<double>(state.iterations());
    state.counters["rovers"] = static_cast<double>(rovers);
    state.counters["read_peak_MB"] = readPeakMegabytes();
    if (gAwkSeconds > 0) state.counters["ratio_to_awk"] = gReadSeconds / gAwkSeconds;
    // The same comparison in processor time, which a loaded machine disturbs less than wall time.
    if (gAwkCpuSeconds > 0)
        state.counters["cpu_ratio_to_awk"] = cpu / static_cast<double>(state.iterations()) / gAwkCpuSeconds;
}

void BM_WriteRawJob(benchmark::State& state) {
    RawJob job;
    if (!readRawJob(QString::fromStdString(gInput), job))
        state.SkipWithError("cannot read the generated job");
    if (state.range(0)) {
        for (qsizetype i = 0; i < job.rovers.size(); i += 100) job.rovers[i].north += 0.25;
    }
    const QString path = QString::fromStdString(gOutput);
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!writeRawJob(path, job)) state.SkipWithError("cannot write the job");
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (gReadSeconds > 0)
        state.counters["ratio_to_read"] = total / static_cast<double>(state.iterations()) / gReadSeconds;
}

}  // namespace

// Registered in this order so that each ratio has its reference measured before it.
BENCHMARK(BM_AwkFieldCount)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadRawJob)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteRawJob)->ArgName("edited")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    if (argc == 2 && std::strncmp(argv[1], "--read-peak=", 12) == 0) {
        RawJob job;
        if (!readRawJob(QString::fromLocal8Bit(argv[1] + 12), job)) return 1;
        std::printf("%.1f\n", peakRssMegabytes());
        return 0;
    }
    gSelf = argv[0];
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--points=", 9) == 0) gPoints = std::atoi(argv[i] + 9);
    }
    const auto folder = std::filesystem::temp_directory_path() / ("raw_file_io_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    gInput = (folder / "generated.raw").string();
    gOutput = (folder / "written.Raw").string();
    rawgen::JobShape shape;
    shape.points = gPoints;
    shape.bases = 12;
    if (!rawgen::writeJobFile(shape, gInput)) {
        std::fprintf(stderr, "cannot write %s\n", gInput.c_str());
        return 1;
    }
    std::fprintf(stderr, "generated %d points, %lld bytes, in %s\n", gPoints,
                 static_cast<long long>(std::filesystem::file_size(gInput)), gInput.c_str());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
