// Keeps the parts of the static C++ runtime that the library never uses out
// of trevik.dll. The library reports every failure as an HRESULT and writes
// no message, so:
// - the runtime's default handler for an uncaught exception, which prints
//   the exception's type through the name demangler, is replaced by a plain
//   abort, and the demangler is not linked in;
// - the standard containers' reports of an impossible size are reported as
//   running out of memory (std::bad_alloc, which the library turns into
//   E_OUTOFMEMORY where it allocates), and their reports of a programming
//   error end the process; the runtime's exception classes with their
//   message strings are not linked in.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc()
{
    throw std::bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw std::bad_alloc();
}

void __throw_length_error(const char*)
{
    throw std::bad_alloc();
}

void __throw_logic_error(const char*)
{
    std::abort();
}

void __throw_out_of_range(const char*)
{
    std::abort();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}

}  // namespace std
