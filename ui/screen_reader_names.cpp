#include "ui/screen_reader_names.h"

#include "controls/spin_button.h"
#include "controls/spin_edit.h"
#include "toolkit/late_bound.h"
#include "toolkit/text.h"
#include "ui/form_builder.h"
#include "ui/form_description.h"

// The GUIDs of the accessibility library (CLSID_AccPropServices,
// IID_IAccPropServices, PROPID_ACC_NAME) are defined here, so that the
// program needs no import library for them.
#include <initguid.h>

#include <oleacc.h>

namespace ui {
namespace {

// COM is late-bound: importing ole32 would load it, and what it pulls in, at
// every start, for a service that most sessions never use.
using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
using CoUninitializeFn = void(WINAPI*)();

void add(std::vector<SpokenName>& names, HWND hwnd, std::wstring text) {
  if (hwnd)
    names.push_back({hwnd, std::move(text)});
}

} // namespace

std::vector<SpokenName> spokenNames(const FormControls& controls) {
  std::vector<SpokenName> names;
  for (const FormControls::Control& c : controls.all()) {
    const ControlDescription& row = *c.row;
    const std::wstring name = tk::widen(spokenNameOf(row.id));
    if (!row.spokenName.empty()) {
      add(names, c.hwnd, name);
      // An editable combo's focus is in its edit, which answers for itself.
      if (row.kind == ControlKind::EditCombo) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(c.hwnd, &info))
          add(names, info.hwndItem, name);
      }
    }
    if (const auto* spin = std::get_if<std::unique_ptr<controls::TSpinEdit>>(&c.owner)) {
      controls::TSpinButton& pair = (*spin)->Button();
      // The arrows are painted parts of the pair, not windows: the pair
      // answers for both.
      add(names, pair.hwnd(), name + L"の増減");
    }
  }
  return names;
}

bool screenReaderRunning() noexcept {
  BOOL running = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

ScreenReaderNames::~ScreenReaderNames() {
  clear();
}

bool ScreenReaderNames::open() noexcept {
  // Loaded once and kept for the process, like the common dialog library.
  ole_ = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!ole_) {
    status_ = HRESULT_FROM_WIN32(GetLastError());
    return false;
  }
  const auto initialise = tk::lateBound<CoInitializeExFn>(ole_, "CoInitializeEx");
  const auto createInstance = tk::lateBound<CoCreateInstanceFn>(ole_, "CoCreateInstance");
  const auto uninitialise = tk::lateBound<CoUninitializeFn>(ole_, "CoUninitialize");
  if (!initialise || !createInstance || !uninitialise)
    return false;
  // S_FALSE too means a call to balance; another threading model set by
  // someone else (RPC_E_CHANGED_MODE) still lets us use COM, without it.
  const HRESULT started = initialise(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(started))
    com_.hold(uninitialise);
  void* service = nullptr;
  status_ = createInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IAccPropServices, &service);
  if (FAILED(status_))
    return false;
  service_.reset(static_cast<IAccPropServices*>(service));
  return true;
}

void ScreenReaderNames::apply(const FormControls& controls) noexcept {
  if (applied_)
    return;
  applied_ = true;
  try {
    names_ = spokenNames(controls);
  } catch (...) {
    return; // without names, as without the library
  }
  if (!open())
    return;
  for (const SpokenName& name : names_) {
    const HRESULT set =
        service_.get()->SetHwndPropStr(name.hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       PROPID_ACC_NAME, name.text.c_str());
    if (SUCCEEDED(set))
      ++accepted_;
    else if (SUCCEEDED(status_))
      status_ = set;
  }
}

void ScreenReaderNames::clear() noexcept {
  if (IAccPropServices* service = service_.get()) {
    MSAAPROPID props[] = {PROPID_ACC_NAME};
    for (const SpokenName& name : names_)
      service->ClearHwndProps(name.hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, props, 1);
  }
  service_.reset();
  com_.reset();
}

void AccPropService::reset(IAccPropServices* service) noexcept {
  if (IAccPropServices* old = std::exchange(service_, service))
    old->Release();
}

} // namespace ui
