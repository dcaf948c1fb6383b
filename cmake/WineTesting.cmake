# Running the Windows test programs under Wine: a private prefix of the build tree's own (never
# the user's), made once with 32-bit support where 32-bit Wine is installed, and a warm wineserver
# for the length of a ctest run. Each tree has its own prefix, so the i686 and x86_64 suites may
# run at the same time: the resource locks hold within one ctest run only, and a prefix is a whole
# machine's state (registry, named objects, clipboard, http handler, desktop).

set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "Private Wine prefix for the tests")
# A tree configured when both builds shared build/wine-prefix takes its own.
if(WINE_PREFIX STREQUAL "${CMAKE_SOURCE_DIR}/build/wine-prefix")
  set_property(CACHE WINE_PREFIX PROPERTY VALUE ${CMAKE_BINARY_DIR}/wine-prefix)
  set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
endif()

# 64-bit programs run on wine64; i686 programs on the 32-bit loader, which Debian's wine32 package
# brings. Without it an i686 program under wine64 exits 0 having run nothing, so its tests must be
# reported as skipped instead of run.
set(WINE32_LOADER /usr/lib/wine/wine)
if(EXISTS ${WINE32_LOADER} AND EXISTS /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll)
  set(WINE32_INSTALLED TRUE)
else()
  set(WINE32_INSTALLED FALSE)
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WINE_LOADER /usr/lib/wine/wine64)
  set(WINE_RUNS_THIS_BUILD TRUE)
else()
  set(WINE_LOADER ${WINE32_LOADER})
  set(WINE_RUNS_THIS_BUILD ${WINE32_INSTALLED})
endif()

set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${WINE_PREFIX} WINEDEBUG=-all ${WINE_LOADER} PARENT_SCOPE)
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${WINE_PREFIX} WINEDEBUG=-all ${WINE_LOADER})

# The script itself decides whether the prefix on disk still fits (it remembers whether it was made
# with 32-bit support), so it runs on every build and returns at once when nothing changed.
add_custom_target(wine_prefix
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-wine-prefix.sh ${WINE_PREFIX}
  COMMENT "Checking the private Wine prefix for tests"
  VERBATIM)

# The wineserver and a keep-alive process start once before the first test and stop after the last;
# without them every Wine process pays for starting (and waiting on) its own server.
add_test(NAME wine_server_start
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh start ${WINE_PREFIX} ${WINE_LOADER}
                 $<TARGET_FILE:wine_keepalive>)
add_test(NAME wine_server_stop
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh stop ${WINE_PREFIX})
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine_server)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_server)
