// The cost of the save at close on a settings file that another program has
// grown large: one batched rewrite against one rewrite per value.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "monitor/BBRegis.h"
#include "monitor/MonitorSettings.h"
#include "platform/linux/XdgSettingsFile.h"

namespace {

// A private folder holding a settings file of about `bytes` bytes.
class LargeSettings {
 public:
  explicit LargeSettings(std::size_t bytes) {
    std::string pattern = "/tmp/zub-bench-XXXXXX";
    directory_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : "/tmp";
    file_.Rewrite([bytes](const std::string&) {
      std::string text = "[Elsewhere]\n";
      for (int i = 0; text.size() < bytes; ++i) {
        text += "line" + std::to_string(i) + "=a value another program keeps here\n";
      }
      return text;
    });
  }
  ~LargeSettings() { std::filesystem::remove_all(directory_); }
  zub::XdgSettingsFile& File() { return file_; }

 private:
  std::string directory_;
  zub::XdgSettingsFile file_{directory_ + "/registry.ini", true};
};

zub::MonitorSettings Chosen() {
  zub::MonitorSettings s;
  s.BetAmount = 10;
  s.BetTotal = 100;
  return s;
}

void BM_SaveInOneRewrite(benchmark::State& state) {
  LargeSettings store(static_cast<std::size_t>(state.range(0)) << 20);
  for (auto _ : state) {
    zub::SaveMonitorSettings(store.File(), Chosen(), {true, true});
  }
}
BENCHMARK(BM_SaveInOneRewrite)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same fourteen values, each written as it comes (the save before batching).
void BM_SaveValueByValue(benchmark::State& state) {
  LargeSettings store(static_cast<std::size_t>(state.range(0)) << 20);
  const zub::MonitorSettings s = Chosen();
  for (auto _ : state) {
    zub::TRegIniFile ini(store.File(), zub::kSettingsKey);
    ini.WriteInteger("Bet", "Total", s.BetTotal);
    ini.WriteInteger("Bet", "Bet", s.BetAmount);
    for (const char* name :
         {"AllColor", "AllSlice", "Pie1Color", "Pie2Color", "Pie1Slice", "Pie2Slice"}) {
      ini.WriteInteger("Settings", name, s.Pie1Color);
    }
    ini.WriteInteger("Dir", "DirColor", 1);
    ini.WriteInteger("Dir", "DirSize", s.DirFontSize);
    ini.WriteString("Dir", "FontName", s.DirFontName);
    ini.WriteInteger("Files", "FontColor", 1);
    ini.WriteInteger("Files", "FontSize", s.FilesFontSize);
    ini.WriteString("Files", "FontName", s.FilesFontName);
  }
}
BENCHMARK(BM_SaveValueByValue)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
