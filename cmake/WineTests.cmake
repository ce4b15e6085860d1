# Tests of the Windows build run its programs under wine (the toolchain file
# makes wine the CMAKE_CROSSCOMPILING_EMULATOR), in a wine prefix of this build
# folder, without a display. The wine server is started before the first such
# test and stopped after the last: a server that a test's own wine started
# would outlive the test and keep ctest waiting for its output.
find_program(DR_WINESERVER_EXECUTABLE NAMES wineserver)
if(NOT DR_WINE_EXECUTABLE OR NOT DR_WINESERVER_EXECUTABLE)
  message(WARNING "wine not found: the tests are built but cannot run (scripts/build-windows.sh installs it)")
endif()

set(DR_MVQ4_WINE_ENVIRONMENT
  WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)

# The first start also fills the prefix, which takes a while. A server that
# already runs for the prefix (wineserver -p then fails) is used as it is.
add_test(NAME wine_start
  COMMAND sh -c "mkdir -p \"$WINEPREFIX\" && { \"$0\" -p; \"$1\" cmd /c exit; } </dev/null >/dev/null 2>&1"
          ${DR_WINESERVER_EXECUTABLE} ${DR_WINE_EXECUTABLE})
add_test(NAME wine_stop COMMAND ${DR_WINESERVER_EXECUTABLE} -k)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
set_property(TEST wine_start wine_stop APPEND PROPERTY ENVIRONMENT ${DR_MVQ4_WINE_ENVIRONMENT})

# Makes the tests run under the started wine server, in the prefix.
function(dr_mvq4_wine_tests)
  set_property(TEST ${ARGN} APPEND PROPERTY FIXTURES_REQUIRED wine)
  set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT ${DR_MVQ4_WINE_ENVIRONMENT})
endfunction()
