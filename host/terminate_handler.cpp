// What the program says when it ends on an exception nobody caught: the
// C++ runtime's own message, with the exception's type by its mangled name.
// The runtime's version of this handler spells the type out through its
// demangler, nearly a tenth of the program; the message goes to
// the standard error, which only a debugger or a test's log ever shows.
// Linked into the program as an object of its own, it stands in for the
// runtime's version, which is then left out.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

#include <cxxabi.h>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  if (const std::type_info *type = abi::__cxa_current_exception_type()) {
    std::fprintf(stderr, "terminate called after throwing an instance of '%s'\n", type->name());
    try {
      throw;
    } catch (const std::exception &e) {
      std::fprintf(stderr, "  what():  %s\n", e.what());
    } catch (...) {
    }
  } else {
    std::fputs("terminate called without an active exception\n", stderr);
  }
  std::abort();
}

}  // namespace __gnu_cxx
