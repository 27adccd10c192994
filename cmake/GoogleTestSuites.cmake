# GoogleTest for the suites under tests/, and gtest_discover_tests() for them.
#
# On Linux: Debian's libgtest-dev and CMake's own GoogleTest module, one CTest
# test per case. Cross-built for Windows: no GoogleTest is installed for the
# target system, so Debian's sources (the googletest package) are built with
# the programs, and each suite is one CTest test that CTest runs under the
# emulator the toolchain file names (Wine). A suite that calls
# gtest_discover_tests() is a Windows test with nothing more to do.
if(CMAKE_CROSSCOMPILING)
  # Their own warnings are not ours.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

  function(gtest_discover_tests target)
    add_test(NAME ${target} COMMAND ${target})
    mirawen_wine_tests(${target})
  endfunction()
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# The Windows tests share one Wine prefix, made by tools/test-windows.sh, and
# one display: they run one at a time in the virtual X server that script
# starts (DISPLAY comes from there), with the programs' folder as the current
# one.
set(MIRAWEN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH
    "The Wine prefix the Windows tests run in (tools/test-windows.sh makes it)")
set(_wine_environment
    "WINEPREFIX=${MIRAWEN_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;LANG=C.UTF-8")
function(mirawen_wine_tests)
  set_tests_properties(${ARGN} PROPERTIES
    ENVIRONMENT "${_wine_environment}"
    WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine
    LABELS windows
    TIMEOUT 300)
endfunction()

# Wine's own processes (its services, the desktop) outlive the program that
# starts them: started by a test, they would keep its output open, and CTest
# would wait for them. So the first test starts them, and a server that
# stays between the tests, with no output; the last one ends them.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME wine_start
    COMMAND sh -c "wineserver -p 60 </dev/null >/dev/null 2>&1 && wineboot </dev/null >/dev/null 2>&1")
  add_test(NAME wine_stop COMMAND sh -c "wineserver -k || true")
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
  set_tests_properties(wine_start wine_stop PROPERTIES
    ENVIRONMENT "${_wine_environment}" RESOURCE_LOCK wine LABELS windows TIMEOUT 120)
endif()
