// The names screen readers speak for the controls of Form1 that no label
// names, set with the accessibility library's dynamic annotation
// (IAccPropServices::SetHwndPropStr, PROPID_ACC_NAME): the controls with a
// spoken name in the form description, and the arrow pairs of the spin edits.
//
// Loading that library (and COM with it) costs start-up time and working
// set, so the window sets the names only once an accessibility client is
// around: see TForm1. Where the library cannot be had, the window carries on
// without the names.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

struct IAccPropServices;

namespace ui {

class FormControls;

struct SpokenName {
  HWND hwnd; // borrowed: a control of Form1
  std::wstring text;
};

// Every name to annotate, for the controls as built.
std::vector<SpokenName> spokenNames(const FormControls& controls);

// Whether a screen reader says it is running (SPI_GETSCREENREADER).
bool screenReaderRunning() noexcept;

// The accessibility service, released at reset() or destruction.
class AccPropService {
public:
  AccPropService() = default;
  ~AccPropService() { reset(); }
  AccPropService(const AccPropService&) = delete;
  AccPropService& operator=(const AccPropService&) = delete;
  IAccPropServices* get() const noexcept { return service_; }
  void reset(IAccPropServices* service = nullptr) noexcept;

private:
  IAccPropServices* service_ = nullptr;
};

// Our CoInitializeEx call, balanced by CoUninitialize at reset() or
// destruction; holds nothing when the call failed.
class ComApartment {
public:
  using Uninitialise = void(WINAPI*)();
  ComApartment() = default;
  ~ComApartment() { reset(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  void hold(Uninitialise uninitialise) noexcept {
    reset();
    uninitialise_ = uninitialise;
  }
  void reset() noexcept {
    if (const Uninitialise uninitialise = std::exchange(uninitialise_, nullptr))
      uninitialise();
  }

private:
  Uninitialise uninitialise_ = nullptr;
};

class ScreenReaderNames {
public:
  ScreenReaderNames() = default;
  ~ScreenReaderNames();
  ScreenReaderNames(const ScreenReaderNames&) = delete;
  ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

  // Sets every name of spokenNames(controls), once; later calls do nothing.
  void apply(const FormControls& controls) noexcept;
  // Removes the names again, while the controls still exist, and lets go of
  // the library.
  void clear() noexcept;

  // What apply set: the names, in order, and how many the library accepted
  // (0 when it could not be loaded).
  const std::vector<SpokenName>& names() const noexcept { return names_; }
  bool applied() const noexcept { return applied_; }
  std::size_t accepted() const noexcept { return accepted_; }
  // The library's first failure, or a success code.
  HRESULT status() const noexcept { return status_; }

private:
  bool open() noexcept;

  std::vector<SpokenName> names_;
  HMODULE ole_ = nullptr; // kept loaded for the process
  ComApartment com_;      // before service_: outlives it
  AccPropService service_;
  bool applied_ = false;
  std::size_t accepted_ = 0;
  HRESULT status_ = S_OK;
};

} // namespace ui
