// The settings file at sizes far beyond the launcher's own: a read behind a
// 100,000-byte line and a write into a 10 MB file, which cost time in
// proportion to the file's size. The first round checks that the rest of
// the file is kept byte for byte.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/IniFile.h"

namespace {

namespace fs = std::filesystem;

std::string BigSettingsText() {
    std::string big = "[BIG]\r\n";
    const std::string filler(90, 'f');
    for (int i = 0; big.size() < (10u << 20); ++i)
        big.append("k").append(std::to_string(i)).append("=").append(filler).append("\r\n");
    return big + "[FILES]\r\n1=" + std::string(100000, 'L') + "\r\n2=after\r\n";
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_TenMegabyteFileReadAndWrite(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / ("sorimo-ini-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "Sorimo.INI";
    const std::string text = BigSettingsText();
    std::ofstream(file, std::ios::binary) << text;
    settings::TIniFile ini(file.string());
    ini.WriteString("FILES", "3", "new");
    if (ReadAll(file) != text + "3=new\r\n" || ini.ReadString("FILES", "2", "") != "after")
        state.SkipWithError("the file was not kept byte for byte");
    for (auto _ : state) {
        benchmark::DoNotOptimize(ini.ReadString("FILES", "2", ""));
        ini.WriteString("FILES", "3", "new");
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
}
BENCHMARK(BM_TenMegabyteFileReadAndWrite)->Unit(benchmark::kMillisecond);

}  // namespace
