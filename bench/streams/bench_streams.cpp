// Stream throughput against the C++ standard library doing the same work in the same run:
// lines from memory, a whole file into memory, and a file copy. Compare the pairs as
// ratios; absolute times on a shared machine mean little.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "filesystem/filesystem.h"
#include "ramstream/ramstream.h"

using namespace corvex;

namespace {

// 64 KB of text lines of 20 to 80 characters, CR LF ended.
std::string Text() {
    std::string text;
    for (int i = 0; text.size() < 65536; ++i) {
        text.append(20 + i * 37 % 60, static_cast<char>('a' + i % 26));
        text += "\r\n";
    }
    return text;
}

// A 4 MB file in a temporary directory, removed at exit.
const std::string& BigFile() {
    static const std::string path = [] {
        std::string dir = (std::filesystem::temp_directory_path() / "corvex-bench-XXXXXX").string();
        dir = mkdtemp(dir.data());
        std::string p = dir + "/big.bin";
        std::ofstream(p, std::ios::binary) << std::string(4 << 20, 'x');
        return p;
    }();
    return path;
}

void ReadLinesRamStream(benchmark::State& state) {
    std::string text = Text();
    for (auto _ : state) {
        auto s = TRamStream::Create(text.data(), static_cast<int64_t>(text.size()), true, false);
        while (!s->Eof()) benchmark::DoNotOptimize(s->ReadLine());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void ReadLinesIStringStreamBaseline(benchmark::State& state) {
    std::string text = Text();
    for (auto _ : state) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            benchmark::DoNotOptimize(String::FromBytes(line.data(), line.size()));
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void LoadByteArrayFile(benchmark::State& state) {
    String path(BigFile());
    for (auto _ : state) benchmark::DoNotOptimize(LoadByteArray(path));
    state.SetBytesProcessed(state.iterations() * (4 << 20));
}

void LoadIfstreamBaseline(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(BigFile(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * (4 << 20));
}

void CopyFileStreams(benchmark::State& state) {
    String src(BigFile()), dst(BigFile() + ".copy");
    for (auto _ : state) benchmark::DoNotOptimize(CopyFile(src, dst));
    state.SetBytesProcessed(state.iterations() * (4 << 20));
}

void CopyFileStdBaseline(benchmark::State& state) {
    std::string dst = BigFile() + ".stdcopy";
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            std::filesystem::copy_file(BigFile(), dst, std::filesystem::copy_options::overwrite_existing));
    }
    state.SetBytesProcessed(state.iterations() * (4 << 20));
}

}  // namespace

BENCHMARK(ReadLinesRamStream);
BENCHMARK(ReadLinesIStringStreamBaseline);
BENCHMARK(LoadByteArrayFile);
BENCHMARK(LoadIfstreamBaseline);
BENCHMARK(CopyFileStreams);
BENCHMARK(CopyFileStdBaseline);

int main(int argc, char** argv) {
    InitModule(filesystem_module);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(std::filesystem::path(BigFile()).parent_path());
    return 0;
}
