// The handler that std::terminate calls when an exception escapes where none
// may. libstdc++'s own writes the exception's demangled type to standard
// error, which a window program does not have, and brings the whole C++
// demangler (some 46 KB) into the program for it. Defined here, in an object
// of the program's own link, it is taken instead and the library's stays out.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
