// What ends the program when an exception escapes or std::terminate is called. libstdc++'s own
// handler first names the exception's type on stderr, and so links in its whole C++ name
// demangler, some 45 KiB of the executable. A GUI program has no console that would show the
// name, so this one only aborts, as libstdc++'s handler does after printing.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
