// Functions looked up when first needed instead of imported: those that newer
// systems have and older ones lack (the program still starts there), and
// those of libraries loaded on first use.
#pragma once

#include <windows.h>

#include <type_traits>

namespace tk {

// `name` in `module` as a `Function` pointer; nullptr when the module or the
// function is missing. Where the system headers declare the function, pass
// decltype(&::Name), so that the type cannot differ from the real one.
template <class Function> Function lateBound(HMODULE module, const char* name) noexcept {
  static_assert(std::is_pointer_v<Function> && std::is_function_v<std::remove_pointer_t<Function>>,
                "a pointer to a function");
  if (!module)
    return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A function of user32, which every window program has loaded.
template <class Function> Function user32Function(const char* name) noexcept {
  return lateBound<Function>(GetModuleHandleW(L"user32.dll"), name);
}

} // namespace tk
