# Test harness: GoogleTest built with the MinGW toolchain, each test program run under
# Wine in a prefix of the build's own, with the testbed content server on loopback.

if(NOT MIVO_CONTENT_BASE_URL MATCHES "^http://127\\.0\\.0\\.1:([0-9]+)$")
  message(FATAL_ERROR "The tests run against the testbed server: configure with "
    "-DMIVO_CONTENT_BASE_URL=http://127.0.0.1:<port> (see README.md)")
endif()
set(MIVO_TEST_PORT ${CMAKE_MATCH_1})
math(EXPR MIVO_TEST_CONTROL_PORT "${MIVO_TEST_PORT} + 1")
# The same content over TLS, for the test program built with an https base URL.
math(EXPR default_tls_port "${MIVO_TEST_PORT} + 2")
set(MIVO_TEST_TLS_PORT ${default_tls_port} CACHE STRING "Loopback port of the testbed server's TLS content")

set(MIVO_SOURCE_DIR ${CMAKE_SOURCE_DIR})
# The scripts of one Wine prefix: the 32-bit one every test program uses, and a 64-bit one
# (WoW64) where a few run again as on 64-bit Windows.
function(mivo_configure_prefix_scripts dir prefix arch regsvr32 views)
  set(MIVO_TESTING_DIR ${dir})
  set(MIVO_WINEPREFIX ${prefix})
  set(MIVO_WINEARCH ${arch})
  set(MIVO_REGSVR32 ${regsvr32})
  set(MIVO_REGISTRY_VIEWS ${views})
  foreach(script wine-env.sh wine-run.sh setup-prefix.sh content-server.sh)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/testing/${script}.in ${dir}/${script} @ONLY
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endforeach()
endfunction()
set(MIVO_TESTING_DIR ${CMAKE_BINARY_DIR}/testing)
set(MIVO_TESTING64_DIR ${MIVO_TESTING_DIR}/win64)
mivo_configure_prefix_scripts(${MIVO_TESTING_DIR} ${CMAKE_BINARY_DIR}/wineprefix win32 regsvr32 "''")
mivo_configure_prefix_scripts(${MIVO_TESTING64_DIR} ${CMAKE_BINARY_DIR}/wineprefix64 win64
  "C:\\windows\\syswow64\\regsvr32.exe" "/reg:64 /reg:32")
file(REMOVE ${MIVO_TESTING64_DIR}/content-server.sh)  # one server for both prefixes
set(CMAKE_CROSSCOMPILING_EMULATOR ${MIVO_TESTING_DIR}/wine-run.sh)

# GoogleTest from the Debian source package, built with our toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Fixture: the prefix exists and the COM stand-ins are registered in it.
# Registered DLLs are added by mivo_register_in_prefix().
set_property(GLOBAL PROPERTY MIVO_PREFIX_DLLS "")
function(mivo_register_in_prefix target)
  set_property(GLOBAL APPEND PROPERTY MIVO_PREFIX_DLLS "$<TARGET_FILE:${target}>")
endfunction()

add_test(NAME content_server_start COMMAND ${MIVO_TESTING_DIR}/content-server.sh start)
add_test(NAME content_server_stop COMMAND ${MIVO_TESTING_DIR}/content-server.sh stop)
set_tests_properties(content_server_start PROPERTIES FIXTURES_SETUP content_server)
set_tests_properties(content_server_stop PROPERTIES FIXTURES_CLEANUP content_server)

# mivo_add_gtest(<name> SOURCES ... [LIBS ...] [ENVIRONMENT ...] [SERVER])
# One CTest entry per test program; every test program shares the prefix and the server,
# so they hold the same lock and never run at the same time.
function(mivo_add_gtest name)
  cmake_parse_arguments(T "SERVER" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE mivo_test_support ${T_LIBS} mivo_warnings)
  add_test(NAME ${name} COMMAND ${name})
  set(fixtures wineprefix)
  if(T_SERVER)
    list(APPEND fixtures content_server)
  endif()
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED "${fixtures}"
    RESOURCE_LOCK "wineprefix;content_server"
    TIMEOUT 600
    ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()

# Called once all targets are known (end of tests/CMakeLists.txt).
function(mivo_finish_test_fixtures)
  get_property(dlls GLOBAL PROPERTY MIVO_PREFIX_DLLS)
  add_test(NAME wineprefix_setup COMMAND ${MIVO_TESTING_DIR}/setup-prefix.sh ${dlls})
  set_tests_properties(wineprefix_setup PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 300)
  add_test(NAME wineprefix_shutdown COMMAND sh -c ". ${MIVO_TESTING_DIR}/wine-env.sh && wineserver -k; true")
  set_tests_properties(wineprefix_shutdown PROPERTIES FIXTURES_CLEANUP wineprefix)

  add_test(NAME wineprefix64_setup COMMAND ${MIVO_TESTING64_DIR}/setup-prefix.sh ${dlls})
  set_tests_properties(wineprefix64_setup PROPERTIES FIXTURES_SETUP wineprefix64 TIMEOUT 300)
  add_test(NAME wineprefix64_shutdown COMMAND sh -c ". ${MIVO_TESTING64_DIR}/wine-env.sh && wineserver -k; true")
  set_tests_properties(wineprefix64_shutdown PROPERTIES FIXTURES_CLEANUP wineprefix64)
endfunction()

# mivo_add_win64_test(<name> <test program> [ENVIRONMENT ...]): runs a test program (32-bit,
# as every one) again in the 64-bit prefix.
function(mivo_add_win64_test name target)
  cmake_parse_arguments(T "" "" "ENVIRONMENT" ${ARGN})
  add_test(NAME ${name} COMMAND ${MIVO_TESTING64_DIR}/wine-run.sh $<TARGET_FILE:${target}>)
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED "wineprefix64;content_server"
    RESOURCE_LOCK "wineprefix64;content_server"
    TIMEOUT 600
    ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()
