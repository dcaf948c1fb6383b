// Compiled into every GoogleTest program: the program's own compile options (no exceptions, no
// guarded function-local statics) belong to its libraries alone. Should a library hand them on to
// the programs that link it, the tests would no longer build with the compiler's defaults, which
// GoogleTest expects; this stops that build instead.
#if !defined(__cpp_exceptions)
#error "a test program is built without exceptions: a library hands on the program's options"
#endif
#if !defined(__cpp_threadsafe_static_init)
#error "a test program is built without guarded statics: a library hands on the program's options"
#endif
