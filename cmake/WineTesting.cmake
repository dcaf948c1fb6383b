# Running the Windows test programs under Wine: a private prefix inside this build tree (never the
# user's own), made once by the build and reused, and a warm wineserver for the length of a ctest run.

set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix for the tests")
set(WINE_LOADER /usr/lib/wine/wine64)

set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${WINE_PREFIX} WINEDEBUG=-all ${WINE_LOADER} PARENT_SCOPE)
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${WINE_PREFIX} WINEDEBUG=-all ${WINE_LOADER})

add_custom_command(
  OUTPUT ${WINE_PREFIX}/.startup-prefix-ready
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-wine-prefix.sh ${WINE_PREFIX}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-wine-prefix.sh
  COMMENT "Preparing the private Wine prefix for tests"
  VERBATIM)
add_custom_target(wine_prefix DEPENDS ${WINE_PREFIX}/.startup-prefix-ready)

# The wineserver and a keep-alive process start once before the first test and stop after the last;
# without them every Wine process pays for starting (and waiting on) its own server.
add_test(NAME wine_server_start
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh start ${WINE_PREFIX}
                 $<TARGET_FILE:wine_keepalive>)
add_test(NAME wine_server_stop
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh stop ${WINE_PREFIX})
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine_server)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_server)
