// Start-up of a window program against a minimal one, interleaved: each round
// launches both (in alternating order), and for each measures
//   shown  - process creation to the first visible, non-empty top-level
//            window of the process;
//   ready  - process creation to that window answering a message (the
//            program has reached its message loop);
//   peak   - peak working set about 2 s after the window is shown;
//   exit   - WM_CLOSE posted to the window until the process has ended.
// Prints every run, the medians and the ratios program / minimal. A figure,
// never a pass or fail.
//   startup_bench.exe PROGRAM MINIMAL [ROUNDS] [SETTLE_MS]
#include "bench/win_timing.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::now;

struct Run {
  double shown = 0, ready = 0, exit = 0, peakMb = 0;
  bool ok = false;
};

struct WindowQuery {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK findShownWindow(HWND hwnd, LPARAM param) {
  auto* query = reinterpret_cast<WindowQuery*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  RECT r{};
  if (pid != query->pid || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r) ||
      r.right <= r.left || r.bottom <= r.top)
    return TRUE;
  query->found = hwnd;
  return FALSE;
}

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
  WindowQuery query{process.dwProcessId, nullptr};
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
    Sleep(settleMs);
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
  std::vector<double> shown, ready, exit, peakMb;
  void add(const Run& r) {
    shown.push_back(r.shown * 1000);
    ready.push_back(r.ready * 1000);
    exit.push_back(r.exit * 1000);
    peakMb.push_back(r.peakMb);
  }
};

void printRun(int round, const char* name, const Run& r) {
  std::printf("%5d  %-8s %9.1f %9.1f %8.1f %9.2f%s\n", round, name, r.shown * 1000, r.ready * 1000,
              r.exit * 1000, r.peakMb, r.ok ? "" : "  (failed)");
}

void printRatio(const char* figure, const std::vector<double>& program,
                const std::vector<double>& minimal) {
  std::vector<double> pairs;
  for (std::size_t i = 0; i < program.size(); ++i)
    if (minimal[i] > 0)
      pairs.push_back(program[i] / minimal[i]);
  const double a = median(program), b = median(minimal);
  std::printf("%-6s median %9.2f against %9.2f   ratio of medians %5.2f   median of pairs %5.2f\n",
              figure, a, b, b > 0 ? a / b : 0.0, pairs.empty() ? 0.0 : median(pairs));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench PROGRAM MINIMAL [ROUNDS] [SETTLE_MS]\n");
    return 2;
  }
  const std::wstring program = fullPath(argv[1]), minimal = fullPath(argv[2]);
  const int rounds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
  const DWORD settle = argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 2000;

  // One launch of each first, not counted: the first start in a fresh Wine
  // prefix also fills its caches.
  launch(program, 0);
  launch(minimal, 0);

  Series p, m;
  std::printf("round  program   shown_ms  ready_ms  exit_ms  peak_MB\n");
  for (int i = 0; i < rounds; ++i) {
    // Alternate which goes first, so neither always runs right after the other.
    Run a, b;
    if (i % 2 == 0) {
      a = launch(program, settle);
      b = launch(minimal, settle);
    } else {
      b = launch(minimal, settle);
      a = launch(program, settle);
    }
    printRun(i + 1, "program", a);
    printRun(i + 1, "minimal", b);
    if (!a.ok || !b.ok)
      return 1;
    p.add(a);
    m.add(b);
    std::fflush(stdout);
  }
  std::printf("\n%d interleaved rounds\n", rounds);
  printRatio("shown", p.shown, m.shown);
  printRatio("ready", p.ready, m.ready);
  printRatio("exit", p.exit, m.exit);
  printRatio("peak", p.peakMb, m.peakMb);
  return 0;
}
