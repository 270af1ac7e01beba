// tk::replaceFileContent on its own: a failure after any step, what the new
// file keeps of the old one, and a child process killed at every step and at
// random moments of a large replacement.
#include "tests/document/kill_content.h"
#include "tests/support/temporary_files.h"
#include "toolkit/atomic_file.h"
#include "toolkit/text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace sheetloom_test;
using tk::ReplaceStep;

struct StepFailure {};

// ".<name>.<8 hex digits>.tmp"
bool isTemporaryFor(const std::wstring& file, const std::wstring& name) {
  const std::wstring prefix = L"." + name + L".";
  if (file.size() != prefix.size() + 12 || file.compare(0, prefix.size(), prefix) != 0 ||
      file.compare(file.size() - 4, 4, L".tmp") != 0)
    return false;
  return std::all_of(
      file.begin() + static_cast<std::ptrdiff_t>(prefix.size()), file.end() - 4,
      [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); });
}

// A failure after each step, over an existing target and onto a free name:
// until the rename the target is as it was and the temporary file, named
// after the target, is removed; after it the target is new.
TEST(ReplaceFileContent, FailureAfterAnyStepLeavesOldFileAndNoTemporaryFile) {
  for (const bool exists : {true, false}) {
    for (int failAt = 0; failAt < tk::kReplaceSteps; ++failAt) {
      SCOPED_TRACE((exists ? "existing target, step " : "new target, step ") +
                   std::to_string(failAt));
      TemporaryFolder folder;
      const std::wstring target = folder.file(L"style.css");
      if (exists)
        writeFile(target, "old");
      std::vector<std::wstring> whileWriting;
      tk::WriteFault fault;
      fault.afterStep = [&](ReplaceStep step) {
        if (step == ReplaceStep::written)
          whileWriting = folder.files();
        if (static_cast<int>(step) == failAt)
          throw StepFailure{};
      };
      EXPECT_THROW(tk::replaceFileContent(target, "new", fault), StepFailure);
      const bool replaced = failAt == static_cast<int>(ReplaceStep::replaced);
      EXPECT_EQ(readFile(target), replaced ? "new" : exists ? "old" : "<missing>");
      EXPECT_EQ(folder.files().size(), replaced || exists ? 1u : 0u);
      if (failAt >= static_cast<int>(ReplaceStep::written)) {
        EXPECT_EQ(whileWriting.size(), exists ? 2u : 1u);
        EXPECT_EQ(
            std::count_if(whileWriting.begin(), whileWriting.end(),
                          [](const std::wstring& f) { return isTemporaryFor(f, L"style.css"); }),
            1);
      }
    }
  }
}

FILETIME creationTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftCreationTime;
}

bool sameTime(FILETIME a, FILETIME b) {
  return CompareFileTime(&a, &b) == 0;
}

bool setCreationTime(const std::wstring& path, const FILETIME& time) {
  HANDLE file =
      CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  const bool set = SetFileTime(file, &time, nullptr, nullptr);
  CloseHandle(file);
  return set;
}

// The new file stays hidden (or system) when the old one was, and keeps its
// creation time where the file system records one; long and Japanese names
// get a temporary file too.
TEST(ReplaceFileContent, NewFileKeepsAttributesAndCreationTime) {
  TemporaryFolder folder;
  const FILETIME first{0x12345678, 0x01C07000}; // in 2000
  const std::wstring probe = folder.file(L"probe");
  writeFile(probe, "");
  const bool keepsCreation = setCreationTime(probe, first) && sameTime(creationTime(probe), first);
  const bool keepsAttributes = SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_HIDDEN) &&
                               GetFileAttributesW(probe.c_str()) & FILE_ATTRIBUTE_HIDDEN;
  SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(probe.c_str());
  if (!keepsCreation)
    std::printf("This file system does not keep a creation time that is set: not checked.\n");
  if (!keepsAttributes)
    std::printf("This file system does not keep the hidden attribute: not checked.\n");

  const struct {
    std::wstring name;
    DWORD attributes;
  } cases[] = {
      {L"plain.css", FILE_ATTRIBUTE_NORMAL},
      {L"hidden.css", FILE_ATTRIBUTE_HIDDEN},
      {L"system.css", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
      {L"見出しの書式.css", FILE_ATTRIBUTE_NORMAL},
      {std::wstring(240, L'n') + L".css", FILE_ATTRIBUTE_HIDDEN},
  };
  constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  for (const auto& c : cases) {
    SCOPED_TRACE(tk::narrow(c.name));
    const std::wstring target = folder.file(c.name);
    writeFile(target, "old");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), c.attributes));
    if (keepsCreation) {
      ASSERT_TRUE(setCreationTime(target, first));
    }
    tk::replaceFileContent(target, "new");
    EXPECT_EQ(readFile(target), "new");
    if (keepsAttributes) {
      EXPECT_EQ(GetFileAttributesW(target.c_str()) & kept, c.attributes & kept);
    }
    if (keepsCreation) {
      EXPECT_TRUE(sameTime(creationTime(target), first));
    }
  }
  EXPECT_EQ(folder.files().size(), std::size(cases));
}

// ---- The kill test ----

constexpr std::size_t kOldSize = 1u << 20;
constexpr std::size_t kNewSize = 24u << 20;
// Random kills in the test command; SHEETLOOM_KILL_TRIALS asks for more.
constexpr int kRandomKills = 16;

using UniqueHandle = std::unique_ptr<void, decltype(&CloseHandle)>;

std::wstring besideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

struct ChildRun {
  DWORD exitCode = 0;
  double saveMs = 0; // from the start of the save to the child's end
};

double nowMs() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs the child on `target`: it stops itself after step `stopAt` (-1: never),
// or the test kills it `killAfterMs` after its save began (-1: never).
ChildRun runChild(const std::wstring& target, int stopAt, int killAfterMs) {
  static int runs = 0;
  const std::wstring eventName = L"Local\\sheetloom-kill-test-" +
                                 std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++runs);
  UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()), &CloseHandle);
  std::wstring command = L"\"" + besideThisProgram(L"save_kill_child.exe") + L"\" \"" + target +
                         L"\" " + std::to_wstring(kNewSize) + L" " + std::to_wstring(stopAt) +
                         L" " + eventName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ChildRun run;
  if (!ready || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start the child: " << GetLastError();
    return run;
  }
  UniqueHandle child(process.hProcess, &CloseHandle);
  CloseHandle(process.hThread);
  HANDLE both[] = {ready.get(), child.get()};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 60000), WAIT_OBJECT_0)
      << "the child ended or hung before its save";
  const double start = nowMs();
  if (killAfterMs >= 0) {
    Sleep(static_cast<DWORD>(killAfterMs));
    TerminateProcess(child.get(), kKilledByTest);
  }
  EXPECT_EQ(WaitForSingleObject(child.get(), 60000), WAIT_OBJECT_0);
  run.saveMs = nowMs() - start;
  GetExitCodeProcess(child.get(), &run.exitCode);
  return run;
}

int trialsAsked() {
  const char* asked = std::getenv("SHEETLOOM_KILL_TRIALS");
  const int n = asked ? std::atoi(asked) : 0;
  return n > 0 ? n : kRandomKills;
}

// A child replaces a 1 MB file with 24 MB and is stopped after every step in
// turn, then killed at random moments over the time its save takes. After
// each kill the target must hold the whole old file or the whole new one;
// temporary files a kill leaves are named after the target (and removed here).
TEST(ReplaceFileContent, KilledAnywhereTheTargetIsWholeOldOrWholeNew) {
  TemporaryFolder folder;
  const std::wstring target = folder.file(L"kill.css");
  const std::string oldContent = killTestContent('O', kOldSize);
  const std::string newContent = killTestContent('N', kNewSize);
  int old = 0, fresh = 0, missing = 0, corrupt = 0, leftovers = 0;
  enum class Outcome { old, fresh, missing, corrupt };
  const auto trial = [&](int stopAt, int killAfterMs) {
    writeFile(target, oldContent);
    const ChildRun run = runChild(target, stopAt, killAfterMs);
    const std::string now = readFile(target);
    const Outcome outcome = now == oldContent    ? Outcome::old
                            : now == newContent  ? Outcome::fresh
                            : now == "<missing>" ? Outcome::missing
                                                 : Outcome::corrupt;
    ++(outcome == Outcome::old       ? old
       : outcome == Outcome::fresh   ? fresh
       : outcome == Outcome::missing ? missing
                                     : corrupt);
    for (const std::wstring& file : folder.files()) {
      if (file == L"kill.css")
        continue;
      ++leftovers;
      EXPECT_TRUE(isTemporaryFor(file, L"kill.css")) << tk::narrow(file);
      DeleteFileW(folder.file(file).c_str());
    }
    return std::make_pair(run, outcome);
  };

  // Unkilled, which also tells how long a save takes.
  const auto [whole, wholeOutcome] = trial(-1, -1);
  EXPECT_EQ(whole.exitCode, 0u);
  EXPECT_EQ(wholeOutcome, Outcome::fresh);

  for (int step = 0; step < tk::kReplaceSteps; ++step) {
    const auto [run, outcome] = trial(step, -1);
    EXPECT_EQ(run.exitCode, kKilledAtStep) << "step " << step;
    EXPECT_EQ(outcome,
              step == static_cast<int>(ReplaceStep::replaced) ? Outcome::fresh : Outcome::old)
        << "step " << step;
  }

  // The kills fall within the shortest save seen so far, so that nearly all
  // of them stop a save under way.
  const unsigned seed = GetTickCount();
  std::mt19937 random(seed);
  double shortestSave = whole.saveMs;
  const int kills = trialsAsked();
  int killedWhileSaving = 0;
  for (int i = 0; i < kills; ++i) {
    const int window = std::max(1, static_cast<int>(shortestSave));
    const auto [run, outcome] = trial(-1, std::uniform_int_distribution<int>(0, window)(random));
    EXPECT_TRUE(run.exitCode == kKilledByTest || run.exitCode == 0) << run.exitCode;
    if (run.exitCode == kKilledByTest)
      ++killedWhileSaving;
    else
      shortestSave = std::min(shortestSave, run.saveMs);
  }

  std::printf("kill test: %d trials (1 whole save of %.0f ms, %d stopped after each step, %d "
              "killed at random, seed %u, %d of them before the save ended): target old %d, "
              "new %d, missing %d, corrupt %d; temporary files left %d\n",
              1 + tk::kReplaceSteps + kills, whole.saveMs, tk::kReplaceSteps, kills, seed,
              killedWhileSaving, old, fresh, missing, corrupt, leftovers);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(corrupt, 0);
}

} // namespace
