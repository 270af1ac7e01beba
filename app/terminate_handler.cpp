// What ends the program when an exception escapes where none may (the error
// boundaries of the window procedures catch everything, so this is for faults
// only). The runtime's own handler prints the exception's demangled type name
// to standard error, which a windowed program does not have, and brings the
// whole C++ demangler, about a tenth of the executable, along. This one ends
// the program the same way, without the printing.
// libstdc++ only: app/CMakeLists.txt builds it for mingw-w64 alone. MSVC's
// runtime has no such handler, and its own terminate prints nothing either.
#include <cstdlib>
#include <exception>

#ifndef __GLIBCXX__
#error "terminate_handler.cpp replaces a libstdc++ handler; build it with GCC only"
#endif

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

} // namespace __gnu_cxx
