// tk::replaceFileContent on its own: a failure of any operation, what the new
// file keeps of the old one, and a child process killed at every step and at
// random moments of a large replacement.
#include "tests/document/kill_content.h"
#include "tests/support/temporary_files.h"
#include "tests/support/win32_threads.h"
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

// Folders nested inside `base` until the folder's path, in the "\\?\" form,
// is longer than `length`; removed again (with their files) at the end.
class DeepFolder {
public:
  DeepFolder(const std::wstring& base, std::size_t length) {
    std::wstring path = L"\\\\?\\" + base;
    for (int i = 0; path.size() <= length; ++i) {
      path += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + i));
      EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << GetLastError();
      levels_.push_back(path);
    }
  }
  DeepFolder(const DeepFolder&) = delete;
  DeepFolder& operator=(const DeepFolder&) = delete;
  ~DeepFolder() {
    for (auto level = levels_.rbegin(); level != levels_.rend(); ++level) {
      for (const std::wstring& name : filesIn(*level))
        DeleteFileW((*level + L"\\" + name).c_str());
      RemoveDirectoryW(level->c_str());
    }
  }
  const std::wstring& path() const { return levels_.back(); }

private:
  std::vector<std::wstring> levels_;
};

// A failure of each file operation in turn, over an existing target and onto
// a free name, in a short folder and in one whose path is 300 characters long
// given in the "\\?\" form (every file call must keep that form: the
// creation, the rename, the removal of the temporary file): until the rename
// the target is as it was and the temporary file, named after the target, is
// removed; after it the target is new.
TEST(ReplaceFileContent, FailureOfAnyOperationLeavesOldFileAndNoTemporaryFile) {
  TemporaryFolder base;
  const DeepFolder deep(base.path(), 300);
  for (const std::wstring& where : {base.path(), deep.path()}) {
    for (const bool exists : {true, false}) {
      for (int failAt = 0; failAt < kOperations; ++failAt) {
        SCOPED_TRACE((exists ? "existing target, operation " : "new target, operation ") +
                     std::to_string(failAt) + ", folder of " + std::to_string(where.size()));
        const std::wstring target = where + L"\\style.css";
        DeleteFileW(target.c_str());
        if (exists)
          writeFile(target, "old");
        std::vector<std::wstring> whileWriting;
        WatchedFileSystem files;
        files.before = [&](Operation operation) {
          if (static_cast<int>(operation) == failAt)
            throw StepFailure{};
        };
        files.after = [&](Operation operation) {
          if (operation == Operation::write)
            whileWriting = filesIn(where);
        };
        // Only a file that exists has a creation time to hand on.
        const bool reached = exists || failAt != static_cast<int>(Operation::stamp);
        if (reached) {
          EXPECT_THROW(tk::replaceFileContent(target, "new", files), StepFailure);
        } else {
          EXPECT_NO_THROW(tk::replaceFileContent(target, "new", files));
        }
        const bool replaced = !reached || failAt > static_cast<int>(Operation::rename);
        EXPECT_EQ(readFile(target), replaced ? "new" : exists ? "old" : "<missing>");
        std::vector<std::wstring> left = filesIn(where);
        left.erase(std::remove(left.begin(), left.end(), std::wstring(60, L'a')), left.end());
        EXPECT_EQ(left.size(), replaced || exists ? 1u : 0u);
        if (failAt > static_cast<int>(Operation::write)) {
          EXPECT_EQ(
              std::count_if(whileWriting.begin(), whileWriting.end(),
                            [](const std::wstring& f) { return isTemporaryFor(f, L"style.css"); }),
              1);
        }
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

// ---- Other programs and links ----

double nowMs();

// Another program holding the files, as a virus scanner, an indexer or a sync
// client does (Wine's server enforces share modes as Windows does): the
// target held without delete sharing for a moment, then for longer than the
// save waits; and a watcher that opens every new or changed file of the
// folder for a moment while saves follow one another.
TEST(ReplaceFileContent, AnotherProgramHoldingTheTargetForAMomentDoesNotFailTheSave) {
  enum class Holder { target, watcher };
  const struct {
    const char* what;
    Holder holder;
    DWORD share; // the holder's share mode
    DWORD holdMs;
    int saves;
    bool saved;
  } cases[] = {
      {"target held without delete sharing for 0.3 s", Holder::target,
       FILE_SHARE_READ | FILE_SHARE_WRITE, 300, 1, true},
      {"target held with no sharing for 0.3 s", Holder::target, 0, 300, 1, true},
      {"target held without delete sharing for 8 s", Holder::target,
       FILE_SHARE_READ | FILE_SHARE_WRITE, 8000, 1, false},
      {"watcher opening each new or changed file for 50 ms", Holder::watcher,
       FILE_SHARE_READ | FILE_SHARE_WRITE, 50, 20, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TemporaryFolder folder;
    const std::wstring target = folder.file(L"held.css");
    writeFile(target, "old");
    Event holding, stop;
    int opened = 0; // by the holder; read after it has ended
    Thread holder([&] {
      if (c.holder == Holder::target) {
        HANDLE file =
            CreateFileW(target.c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
        opened += file != INVALID_HANDLE_VALUE;
        holding.set();
        stop.wait(c.holdMs);
        if (file != INVALID_HANDLE_VALUE)
          CloseHandle(file);
        return;
      }
      // The watcher: every file whose time or size is new to it is opened,
      // read a little and held for a moment.
      std::vector<std::pair<std::wstring, ULONGLONG>> seen;
      holding.set();
      while (!stop.wait(1)) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder.path() + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
          continue;
        do {
          if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
          const ULONGLONG stamp = (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                   data.ftLastWriteTime.dwLowDateTime) ^
                                  (ULONGLONG(data.nFileSizeLow) << 7);
          const std::pair<std::wstring, ULONGLONG> key(data.cFileName, stamp);
          if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
          seen.push_back(key);
          HANDLE file = CreateFileW(folder.file(data.cFileName).c_str(), GENERIC_READ, c.share,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
          if (file == INVALID_HANDLE_VALUE)
            continue; // the temporary file, which no one may open
          ++opened;
          char head[16];
          DWORD got = 0;
          ReadFile(file, head, sizeof head, &got, nullptr);
          Sleep(c.holdMs);
          CloseHandle(file);
        } while (FindNextFileW(find, &data));
        FindClose(find);
      }
    });
    holding.wait();
    int saved = 0;
    double longest = 0;
    for (int i = 0; i < c.saves; ++i) {
      const std::string bytes = "new " + std::to_string(i);
      const double start = nowMs();
      try {
        tk::replaceFileContent(target, bytes);
        ++saved;
        EXPECT_EQ(readFile(target), bytes);
      } catch (const tk::FileError& error) {
        EXPECT_EQ(error.kind(), tk::FileError::Kind::create);
        EXPECT_EQ(readFile(target), "old");
      }
      longest = std::max(longest, nowMs() - start);
      Sleep(20); // the user types on before the next save
    }
    stop.set();
    holder.join();
    EXPECT_GE(opened, 1) << "the holder never had the file";
    EXPECT_EQ(saved, c.saved ? c.saves : 0);
    EXPECT_LT(longest, 3000) << "a held target is given up within a few seconds";
    EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"held.css"});
    std::printf("%s: %d of %d saved, longest save %.0f ms, holder opened %d files\n", c.what, saved,
                c.saves, longest, opened);
  }
}

// Wine's own name for a folder's Unix path, as drive Z: shows it.
std::wstring throughDriveZ(const std::wstring& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* name = unixName ? unixName(path.c_str()) : nullptr;
  if (!name)
    return {};
  std::wstring result = L"Z:" + tk::widen(name);
  HeapFree(GetProcessHeap(), 0, name);
  std::replace(result.begin(), result.end(), L'/', L'\\');
  return result;
}

// A Unix symbolic link made by the system's own ln, run through Wine.
bool makeUnixLink(const std::wstring& linkInZ, const std::wstring& pointsTo) {
  std::wstring unixLink = linkInZ.substr(2);
  std::replace(unixLink.begin(), unixLink.end(), L'\\', L'/');
  std::wstring command = L"/bin/ln -s \"" + pointsTo + L"\" \"" + unixLink + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 200 && !fileExists(linkInZ); ++i)
    Sleep(10);
  return fileExists(linkInZ);
}

// A save onto a symbolic link replaces the file it points to, in that file's
// folder, and the link stays a link (a later change to the file shows through
// it). A file with several hard links gets a new file under the saved name;
// its other names keep the old content.
TEST(ReplaceFileContent, LinksAreFollowedAndHardLinksKeepTheOldContent) {
  enum class Link { unixThroughZ, unixThroughC, windows, hard };
  const struct {
    const char* what;
    Link link;
  } cases[] = {
      {"Unix symbolic link seen through drive Z:", Link::unixThroughZ},
      {"Unix symbolic link seen through drive C:", Link::unixThroughC},
      {"Windows symbolic link", Link::windows},
      {"hard link", Link::hard},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TemporaryFolder folder;
    const std::wstring realFolder = folder.file(L"real");
    ASSERT_TRUE(CreateDirectoryW(realFolder.c_str(), nullptr));
    const std::wstring real = realFolder + L"\\sheet.css";
    writeFile(real, "old");
    std::wstring link = folder.file(L"link.css");
    bool made = false;
    switch (c.link) {
    case Link::unixThroughZ:
    case Link::unixThroughC: {
      const std::wstring inZ = throughDriveZ(folder.path());
      made = !inZ.empty() && makeUnixLink(inZ + L"\\link.css", L"real/sheet.css");
      if (c.link == Link::unixThroughZ)
        link = inZ + L"\\link.css";
      break;
    }
    case Link::windows:
      made = CreateSymbolicLinkW(link.c_str(), real.c_str(),
                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
             fileExists(link);
      break;
    case Link::hard:
      made = CreateHardLinkW(link.c_str(), real.c_str(), nullptr);
      break;
    }
    if (!made) {
      std::printf("%s: this system makes none here; not checked\n", c.what);
      RemoveDirectoryW(realFolder.c_str());
      continue;
    }
    tk::replaceFileContent(link, "new");
    EXPECT_EQ(readFile(link), "new");
    if (c.link == Link::hard) {
      EXPECT_EQ(readFile(real), "old") << "the other name keeps the old file";
    } else {
      EXPECT_EQ(readFile(real), "new") << "the file the link points to is replaced";
      writeFile(real, "changed later");
      EXPECT_EQ(readFile(link), "changed later") << "the link is still a link";
    }
    EXPECT_EQ(filesIn(realFolder), std::vector<std::wstring>{L"sheet.css"});
    std::vector<std::wstring> names = folder.files();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"link.css", L"real"}));
    DeleteFileW(real.c_str());
    RemoveDirectoryW(realFolder.c_str());
  }
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
// each kill the target must hold the whole old file or the whole new one, and
// while the child runs the path must never be seen without a file or with a
// part of one;
// temporary files a kill leaves are named after the target (and removed here).
TEST(ReplaceFileContent, KilledAnywhereTheTargetIsWholeOldOrWholeNew) {
  TemporaryFolder folder;
  const std::wstring target = folder.file(L"kill.css");
  const std::string oldContent = killTestContent('O', kOldSize);
  const std::string newContent = killTestContent('N', kNewSize);
  int old = 0, fresh = 0, missing = 0, corrupt = 0, leftovers = 0;
  enum class Outcome { old, fresh, missing, corrupt };
  // While a child runs, the target's path is looked at over and over from
  // here, without the code's own account of its steps: a moment without the
  // file or with a size that is neither the old nor the new one counts.
  int lookedAt = 0, seenMissing = 0, seenPartial = 0;
  const auto trial = [&](int stopAt, int killAfterMs) {
    writeFile(target, oldContent);
    Event done;
    Thread looker([&] {
      while (!done.wait(0)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ++lookedAt;
        if (!GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data))
          ++seenMissing;
        else if (data.nFileSizeHigh != 0 ||
                 (data.nFileSizeLow != kOldSize && data.nFileSizeLow != kNewSize))
          ++seenPartial;
      }
    });
    const ChildRun run = runChild(target, stopAt, killAfterMs);
    done.set();
    looker.join();
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

  for (int step = 0; step < kOperations; ++step) {
    const auto [run, outcome] = trial(step, -1);
    EXPECT_EQ(run.exitCode, kKilledAtStep) << "operation " << step;
    EXPECT_EQ(outcome, step >= static_cast<int>(Operation::rename) ? Outcome::fresh : Outcome::old)
        << "operation " << step;
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
              "new %d, missing %d, corrupt %d; temporary files left %d; the path looked at %d "
              "times meanwhile: missing %d, partial %d\n",
              1 + kOperations + kills, whole.saveMs, kOperations, kills, seed, killedWhileSaving,
              old, fresh, missing, corrupt, leftovers, lookedAt, seenMissing, seenPartial);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(corrupt, 0);
  EXPECT_EQ(seenMissing, 0);
  EXPECT_EQ(seenPartial, 0);
}

} // namespace
