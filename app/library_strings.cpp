// Keeps libstdc++'s explicit instantiation of std::string (33 KB on i686:
// every member, and the linker keeps them all, since each has unwind
// information) out of the executable. Nothing here calls it: the library's
// standard exception classes need its reference-counted string, whose object
// also holds a std::random_device helper, and that helper's object asks for
// two members of std::string, _M_create and compare(const char*). The linker
// opens a library object only for a symbol that no object of the program
// defines. The program's own strings instantiate _M_create already (the C++20
// headers define every member inline); instantiating compare(const char*)
// here leaves nothing for which the library's std::string object is needed.
// Same template, same definition: only the linker's choice of copy changes.
// Nothing calls this function; the link-time optimiser drops it but keeps the
// member for the library's helper.
// libstdc++ only: app/CMakeLists.txt builds it for mingw-w64 alone; MSVC's
// library is laid out differently and needs nothing of the kind.
#include <string>

#ifndef __GLIBCXX__
#error "library_strings.cpp is about libstdc++'s std::string; build it with GCC only"
#endif

namespace app {

bool equalsCString(const std::string& text, const char* other);

bool equalsCString(const std::string& text, const char* other) {
  return text.compare(other) == 0; // NOLINT(readability-string-compare): the member instantiated
}

} // namespace app
