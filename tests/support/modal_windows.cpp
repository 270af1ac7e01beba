#include "tests/support/modal_windows.h"

#include "tests/support/window_helpers.h"
#include "toolkit/errors.h"
#include "toolkit/text.h"

#include <colordlg.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace sheetloom_test {

Watchdog::Watchdog(int seconds)
    : thread_([this, seconds] {
        if (!finished_.wait(static_cast<DWORD>(seconds) * 1000)) {
          std::fprintf(stderr, "watchdog: a modal window was never dismissed\n");
          std::fflush(stderr);
          TerminateProcess(GetCurrentProcess(), 3);
        }
      }) {}

Watchdog::~Watchdog() {
  finished_.set();
  thread_.join();
}

namespace {

struct Search {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<Search*>(lp);
  if (IsWindowVisible(hwnd) && className(hwnd) == search->className) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Thread timers carry no context: the one active session.
bool g_rescued = false;

} // namespace

HWND findThreadWindow(const wchar_t* className) {
  Search search{className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

WindowSequence* g_sequence = nullptr;

struct NewWindowSearch {
  const wchar_t* className;
  const std::vector<HWND>* exclude;
  HWND found;
};

BOOL CALLBACK matchNewWindow(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<NewWindowSearch*>(lp);
  if (IsWindowVisible(hwnd) && className(hwnd) == search->className &&
      std::find(search->exclude->begin(), search->exclude->end(), hwnd) == search->exclude->end()) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The first visible top-level window of this thread of the class, not in `exclude`.
HWND findNewThreadWindow(const wchar_t* className, const std::vector<HWND>& exclude) {
  NewWindowSearch search{className, &exclude, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), matchNewWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

} // namespace

WindowSequence::WindowSequence(std::vector<Step> steps) : steps_(std::move(steps)) {
  if (g_sequence)
    ADD_FAILURE() << "only one window sequence at a time";
  g_sequence = this;
  timer_ = SetTimer(nullptr, 0, 30, tick);
}

WindowSequence::~WindowSequence() {
  KillTimer(nullptr, timer_);
  g_sequence = nullptr;
}

void CALLBACK WindowSequence::tick(HWND, UINT, UINT_PTR, DWORD) {
  WindowSequence* self = g_sequence;
  if (!self || self->busy_ || self->next_ >= self->steps_.size())
    return;
  Step& step = self->steps_[self->next_];
  const HWND found = findNewThreadWindow(step.className.c_str(), self->actedOn_);
  if (!found)
    return;
  self->busy_ = true;
  self->actedOn_.push_back(found);
  ++self->next_;
  try {
    if (step.action)
      step.action(found);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "the action on a window threw: " << e.what();
  } catch (...) {
    ADD_FAILURE() << "the action on a window threw";
  }
  self->busy_ = false;
}

DialogSession::DialogSession(DialogDriver& driver)
    : watchdog_(30), watcher_(L"#32770", [&driver](HWND dialog) {
        driver.opened = true;
        driver.dialog = dialog;
        driver.owner = GetWindow(dialog, GW_OWNER);
        driver.ownerEnabled = IsWindowEnabled(driver.owner) != FALSE;
        GetWindowRect(dialog, &driver.rect);
        try {
          if (driver.action)
            driver.action(dialog);
        } catch (...) {
          ADD_FAILURE() << "dialog action threw";
        }
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(driver.command, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, driver.command)));
      }) {
  g_rescued = false;
  rescueTimer_ = SetTimer(nullptr, 0, 15000, rescue);
}

DialogSession::~DialogSession() {
  KillTimer(nullptr, rescueTimer_);
  EXPECT_FALSE(g_rescued) << "the dialog had to be closed by the watchdog";
}

// Closes whatever is still open (a dialog, or a message box raised by one).
void CALLBACK DialogSession::rescue(HWND, UINT, UINT_PTR, DWORD) {
  g_rescued = true;
  while (HWND dialog = findThreadWindow(L"#32770"))
    EndDialog(dialog, IDCANCEL);
}

void chooseInCombo(HWND dialog, int id, LRESULT index) {
  ASSERT_GE(index, 0);
  HWND combo = GetDlgItem(dialog, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void setColourDialogRgb(HWND dialog, const wchar_t* r, const wchar_t* g, const wchar_t* b) {
  SetDlgItemTextW(dialog, COLOR_RED, r);
  SetDlgItemTextW(dialog, COLOR_GREEN, g);
  SetDlgItemTextW(dialog, COLOR_BLUE, b);
}

} // namespace sheetloom_test
