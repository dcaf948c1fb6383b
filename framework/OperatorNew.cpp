// The program's allocation operators. The C++ library's own operator new reports a refused
// allocation by throwing std::bad_alloc, and linking it brings the exception machinery of a static
// build with it: the unwinder, the verbose terminate handler with its symbol demangler, and the
// thread library (over 100 KB of the i686 program). The program is built without exceptions, so
// that throw could only end in std::terminate and abort(); these abort at once instead.
#include <cstdlib>
#include <new>

void* operator new(std::size_t cb)
{
    // A request for zero bytes still gets a block of its own, as the language requires.
    void* p = std::malloc(cb != 0 ? cb : 1);
    if (p == nullptr)
        std::abort();
    return p;
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
