// A helper that saves the settings in a loop is killed at random moments:
// every file it leaves is one whole save, the old or a newer one, never a
// mix of two saves and never a partial file. ZUB_KILL_ROUNDS sets how many
// kills (scripts/kill-loop runs a thousand).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

#include "fakes/FakePlatform.h"
#include "monitor/SaveGenerations.h"
#include "platform/linux/XdgSettingsFile.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::GenerationOf;
using test_support::SettingsOfGeneration;

int Rounds() {
  const char* rounds = std::getenv("ZUB_KILL_ROUNDS");
  return rounds != nullptr && std::atoi(rounds) > 0 ? std::atoi(rounds) : 40;
}

// Lines another program keeps in the file: they make each save long enough
// for a kill to land inside it, and must survive every save.
std::string ForeignLines() {
  std::string text = "[Elsewhere]\n";
  for (int i = 0; i < 3000; ++i) {
    text += "line" + std::to_string(i) + "=kept as it is\n";
  }
  return text;
}

// The whole file after saving generation `g` over `before`.
std::string AfterSave(const std::string& before, int g) {
  fakes::FakeSettingsFile file;
  if (!before.empty()) {
    file.stored = {StoredText::State::Present, before};
  }
  SaveMonitorSettings(file, SettingsOfGeneration(g), test_support::kEveryWindowOpened);
  return file.stored.text;
}

int GenerationIn(const std::string& text) {
  fakes::FakeSettingsFile file;
  file.stored = {StoredText::State::Present, text};
  return GenerationOf(LoadMonitorSettings(file));
}

// Starts the helper on `path` from generation `first` and kills it
// `delay` after it says it starts saving.
void RunAndKill(const std::string& path, int first, std::chrono::microseconds delay) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(ready[1], STDOUT_FILENO);
    ::close(ready[0]);
    ::close(ready[1]);
    const std::string generation = std::to_string(first);
    ::execl(ZUB_SAVE_LOOP, ZUB_SAVE_LOOP, path.c_str(), generation.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(ready[1]);
  char byte = 0;
  EXPECT_EQ(::read(ready[0], &byte, 1), 1);
  ::close(ready[0]);
  std::this_thread::sleep_for(delay);
  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status)) << "the helper ended by itself: " << status;
}

TEST(SaveKillTest, AKilledSaveLeavesTheOldFileOrTheNewNeverAMix) {
  const test_support::TempDir dir;
  const std::string path = dir / "zub97/registry.ini";
  const std::string foreign = ForeignLines();
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> delayUs(0, 20000);

  int generation = 0;
  int old = 0;
  int newer = 0;
  int missing = 0;
  const int rounds = Rounds();
  for (int round = 0; round < rounds; ++round) {
    SCOPED_TRACE(round);
    // Every fourth round starts with no file: a kill during the very first save.
    const bool fresh = round % 4 == 3;
    const std::string base = fresh ? std::string() : foreign;
    std::filesystem::remove(path);
    if (!fresh) {
      ASSERT_TRUE(XdgSettingsFile(path, true).Rewrite([&](const std::string&) {
        return AfterSave(base, generation);
      }));
    }
    RunAndKill(path, generation + 1, std::chrono::microseconds(delayUs(random)));

    const StoredText stored = XdgSettingsFile(path, false).Load();
    if (stored.state == StoredText::State::Missing) {
      EXPECT_TRUE(fresh) << "the file went away";
      ++missing;
      continue;
    }
    ASSERT_EQ(stored.state, StoredText::State::Present);
    const int found = GenerationIn(stored.text);
    ASSERT_GE(found, fresh ? generation + 1 : generation) << "an older save came back";
    ASSERT_EQ(stored.text, AfterSave(base, found)) << "not one whole save";
    (found == generation ? old : newer) += 1;
    generation = found;
  }
  std::cout << rounds << " kills: " << old << " left the old file, " << newer << " a newer one, "
            << missing << " no file yet (first save); saves reached " << generation << "\n";
}

}  // namespace
}  // namespace zub
