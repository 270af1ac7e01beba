// Start-up of window programs against each other, interleaved: each round
// launches every program once (the order turning by one each round), and for
// each start measures
//   shown   - process creation to the first visible, non-empty top-level
//             window of the process;
//   ready   - process creation to that window answering a message (the
//             program has reached its message loop);
//   all     - process creation to the moment the process's window count last
//             rose within the settle time (polled every 25 ms): when every
//             window the program makes on its own exists, to within 25 ms.
//             Under Wine each poll costs a server request per window of the
//             machine, which the program's own window creation waits behind:
//             polled every 5 ms, the count alone slowed the windows the
//             program makes after ready by a factor of two or more;
//   after   - all less ready: how long after reaching its message loop the
//             program still made windows (the pages it builds when idle);
//   cpu     - under Wine only: the processor time the process's Linux threads
//             had used by then (from /proc, through Wine's drive Z:): its own
//             work, without what the window system does for it in other
//             processes (the Wine server, the X server), and far less moved
//             by other load on the machine than the elapsed times. Wine's
//             GetProcessTimes does not give it for another process;
//   cpu_all - the same at the end of the settle time: the work of the whole
//             start, the windows made after ready included;
//   peak    - peak working set about 2 s after the window is shown;
//   exit    - WM_CLOSE posted to the window until the process has ended;
//   windows - the windows the process has then (top-level ones, hidden ones
//             included, and all their descendants).
// Prints every run, the medians and, for every pair of programs, the ratios
// of the earlier to the later one. A figure, never a pass or fail.
//   startup_bench.exe PROGRAM OTHER... [ROUNDS [SETTLE_MS]]
// An argument made of digits only is ROUNDS (default 9), then SETTLE_MS
// (default 2000).
#include "bench/win_timing.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::now;

struct Run {
  double shown = 0, ready = 0, all = 0, cpu = 0, cpuAll = 0, exit = 0, peakMb = 0;
  int windows = 0;
  bool ok = false;
};

// What the window callbacks look for: the process's first shown window, and
// how many windows it has.
struct WindowQuery {
  DWORD pid;
  HWND found = nullptr;
  int count = 0;
};

DWORD processOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

BOOL CALLBACK findShownWindow(HWND hwnd, LPARAM param) {
  auto* query = reinterpret_cast<WindowQuery*>(param);
  RECT r{};
  if (processOf(hwnd) != query->pid || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r) ||
      r.right <= r.left || r.bottom <= r.top)
    return TRUE;
  query->found = hwnd;
  return FALSE;
}

BOOL CALLBACK countChild(HWND, LPARAM param) {
  ++*reinterpret_cast<int*>(param);
  return TRUE;
}

BOOL CALLBACK countTopLevel(HWND hwnd, LPARAM param) {
  auto* query = reinterpret_cast<WindowQuery*>(param);
  if (processOf(hwnd) == query->pid) {
    ++query->count;
    EnumChildWindows(hwnd, countChild, reinterpret_cast<LPARAM>(&query->count));
  }
  return TRUE;
}

int windowsOf(DWORD pid) {
  WindowQuery query{pid};
  EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.count;
}

std::string readSmallFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return {};
  char buffer[512];
  DWORD got = 0;
  std::string text;
  if (ReadFile(file, buffer, sizeof buffer, &got, nullptr))
    text.assign(buffer, got);
  CloseHandle(file);
  return text;
}

bool equalNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if ((a[i] | 0x20) != (b[i] | 0x20))
      return false;
  return true;
}

// Under Wine: the run time of every thread of the Linux process whose first
// argument is `program` (Wine puts the program's full path there), in seconds
// (from /proc/PID/task/*/schedstat, in nanoseconds); 0 elsewhere. The whole
// path, since other users of the machine may run programs of the same name.
double linuxCpuSeconds(const std::wstring& program) {
  std::string path;
  for (wchar_t ch : program)
    path += ch < 128 ? static_cast<char>(ch) : '?';
  WIN32_FIND_DATAW entry;
  HANDLE processes = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (processes == INVALID_HANDLE_VALUE)
    return 0;
  double seconds = 0;
  do {
    if (entry.cFileName[0] < L'1' || entry.cFileName[0] > L'9')
      continue;
    const std::wstring dir = std::wstring(L"Z:\\proc\\") + entry.cFileName;
    std::string command = readSmallFile(dir + L"\\cmdline");
    command = command.substr(0, command.find('\0'));
    if (!equalNoCase(command, path))
      continue;
    WIN32_FIND_DATAW task;
    HANDLE tasks = FindFirstFileW((dir + L"\\task\\*").c_str(), &task);
    if (tasks == INVALID_HANDLE_VALUE)
      break;
    do {
      if (task.cFileName[0] >= L'1' && task.cFileName[0] <= L'9')
        seconds +=
            std::strtod(readSmallFile(dir + L"\\task\\" + task.cFileName + L"\\schedstat").c_str(),
                        nullptr) /
            1e9;
    } while (FindNextFileW(tasks, &task));
    FindClose(tasks);
    break;
  } while (FindNextFileW(processes, &entry));
  FindClose(processes);
  return seconds;
}

// How often the window count is taken after ready (see `all` above).
constexpr DWORD kSettlePollMs = 25;

Run launch(const std::wstring& program, DWORD settleMs) {
  Run run;
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
    return run;
  }
  CloseHandle(process.hThread);
  WindowQuery query{process.dwProcessId};
  while (!query.found && now() - start < 30) {
    EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&query));
    if (!query.found) {
      if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
        break; // ended without a window
    }
  }
  if (query.found) {
    run.shown = now() - start;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(query.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
    run.ready = now() - start;
    run.cpu = linuxCpuSeconds(program);
    run.windows = windowsOf(process.dwProcessId);
    run.all = run.ready;
    for (const double settled = now() + settleMs / 1000.0; now() < settled;) {
      Sleep(kSettlePollMs);
      const int windows = windowsOf(process.dwProcessId);
      if (windows > run.windows)
        run.all = now() - start;
      run.windows = std::max(run.windows, windows);
    }
    run.cpuAll = linuxCpuSeconds(program);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
      run.peakMb = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    const double closing = now();
    PostMessageW(query.found, WM_CLOSE, 0, 0);
    run.ok = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    run.exit = now() - closing;
  } else {
    std::fwprintf(stderr, L"%ls showed no window\n", program.c_str());
  }
  if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  return run;
}

std::wstring fullPath(const wchar_t* path) {
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetFullPathNameW(path, MAX_PATH, buffer, nullptr);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring(path);
}

struct Series {
  std::wstring path;
  std::string name;
  std::vector<double> shown, ready, all, after, cpu, cpuAll, exit, peakMb, windows;
  void add(const Run& r) {
    shown.push_back(r.shown * 1000);
    ready.push_back(r.ready * 1000);
    all.push_back(r.all * 1000);
    after.push_back((r.all - r.ready) * 1000);
    cpu.push_back(r.cpu * 1000);
    cpuAll.push_back(r.cpuAll * 1000);
    exit.push_back(r.exit * 1000);
    peakMb.push_back(r.peakMb);
    windows.push_back(r.windows);
  }
};

// The file name without its folder and extension, for the table.
std::string shortName(const std::wstring& path) {
  std::size_t from = path.find_last_of(L"\\/");
  from = from == std::wstring::npos ? 0 : from + 1;
  std::size_t to = path.rfind(L'.');
  if (to == std::wstring::npos || to < from)
    to = path.size();
  std::string name;
  for (std::size_t i = from; i < to; ++i)
    name += path[i] < 128 ? static_cast<char>(path[i]) : '?';
  return name;
}

void printRun(int round, const std::string& name, const Run& r) {
  std::printf("%5d  %-16s %9.1f %9.1f %8.1f %8.1f %8.1f %8.1f %8.1f %9.2f %8d%s\n", round,
              name.c_str(), r.shown * 1000, r.ready * 1000, r.all * 1000, (r.all - r.ready) * 1000,
              r.cpu * 1000, r.cpuAll * 1000, r.exit * 1000, r.peakMb, r.windows,
              r.ok ? "" : "  (failed)");
}

void printRatio(const char* figure, const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> pairs;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (b[i] > 0)
      pairs.push_back(a[i] / b[i]);
  const double ma = median(a), mb = median(b);
  // The least disturbed start of each, for a machine whose load comes and goes.
  const double fa = *std::min_element(a.begin(), a.end()),
               fb = *std::min_element(b.begin(), b.end());
  std::printf("  %-7s median %8.2f against %8.2f  ratio of medians %5.3f  median of pairs %5.3f  "
              "ratio of minimums %5.3f\n",
              figure, ma, mb, mb > 0 ? ma / mb : 0.0, pairs.empty() ? 0.0 : median(pairs),
              fb > 0 ? fa / fb : 0.0);
}

bool isNumber(const wchar_t* text) {
  if (!*text)
    return false;
  for (; *text; ++text)
    if (*text < L'0' || *text > L'9')
      return false;
  return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<Series> programs;
  std::vector<int> numbers;
  for (int i = 1; i < argc; ++i) {
    if (isNumber(argv[i])) {
      numbers.push_back(_wtoi(argv[i]));
    } else {
      Series s;
      s.path = fullPath(argv[i]);
      s.name = shortName(s.path);
      programs.push_back(std::move(s));
    }
  }
  if (programs.size() < 2) {
    std::fprintf(stderr, "usage: startup_bench PROGRAM OTHER... [ROUNDS [SETTLE_MS]]\n");
    return 2;
  }
  const int rounds = !numbers.empty() ? std::max(1, numbers[0]) : 9;
  const DWORD settle = numbers.size() > 1 ? static_cast<DWORD>(numbers[1]) : 2000;
  const std::size_t n = programs.size();

  // One launch of each first, not counted: the first start in a fresh Wine
  // prefix also fills its caches.
  for (const Series& s : programs)
    launch(s.path, 0);

  std::printf("round  program           shown_ms  ready_ms   all_ms after_ms   cpu_ms cpu_all  "
              "exit_ms   peak_MB  windows\n");
  for (int round = 0; round < rounds; ++round) {
    // Turn the order, so that no program always runs right after another.
    std::vector<Run> runs(n);
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t i = (k + static_cast<std::size_t>(round)) % n;
      runs[i] = launch(programs[i].path, settle);
    }
    for (std::size_t i = 0; i < n; ++i)
      printRun(round + 1, programs[i].name, runs[i]);
    for (std::size_t i = 0; i < n; ++i) {
      if (!runs[i].ok)
        return 1;
      programs[i].add(runs[i]);
    }
    std::fflush(stdout);
  }
  std::printf("\n%d interleaved rounds\n", rounds);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j) {
      const Series &a = programs[i], &b = programs[j];
      std::printf("%s against %s\n", a.name.c_str(), b.name.c_str());
      printRatio("shown", a.shown, b.shown);
      printRatio("ready", a.ready, b.ready);
      printRatio("all", a.all, b.all);
      printRatio("after", a.after, b.after);
      printRatio("cpu", a.cpu, b.cpu);
      printRatio("cpu_all", a.cpuAll, b.cpuAll);
      printRatio("exit", a.exit, b.exit);
      printRatio("peak", a.peakMb, b.peakMb);
      printRatio("windows", a.windows, b.windows);
    }
  return 0;
}
