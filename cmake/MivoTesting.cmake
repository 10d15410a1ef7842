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
# The 32-bit build is what ships; it runs only where the host starts 32-bit processes. The
# 64-bit build of the same sources runs under Wine's 64-bit loader, which must be named:
# Debian's `wine` wrapper always picks the 32-bit loader when it is installed.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MIVO_TEST_BITS 64)
  find_program(MIVO_WINE64_LOADER wine64 PATHS /usr/lib/wine /usr/lib64/wine /opt/wine-stable/bin
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)
else()
  set(MIVO_TEST_BITS 32)
endif()
# Wine entries of the 32-bit build exit with this code, reported as skipped, on a host that
# runs no 32-bit process.
set(MIVO_SKIP_CODE 77)

# The scripts of one Wine prefix. The 32-bit build has the 32-bit prefix every test program
# uses, a 64-bit one (WoW64) where a few run again as on 64-bit Windows, and one that calls
# itself Windows XP; the 64-bit build has a 64-bit prefix and one that calls itself Windows XP
# x64. <version> is the Windows version winecfg sets ("" leaves Wine's default).
function(mivo_configure_prefix_scripts dir prefix arch loader regsvr32 views version)
  set(MIVO_TESTING_DIR ${dir})
  set(MIVO_WINEPREFIX ${prefix})
  set(MIVO_WINEARCH ${arch})
  set(MIVO_WINE ${loader})
  set(MIVO_REGSVR32 ${regsvr32})
  set(MIVO_REGISTRY_VIEWS ${views})
  set(MIVO_WINDOWS_VERSION ${version})
  foreach(script wine-env.sh wine-run.sh setup-prefix.sh content-server.sh)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/testing/${script}.in ${dir}/${script} @ONLY
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endforeach()
endfunction()
set(MIVO_TESTING_DIR ${CMAKE_BINARY_DIR}/testing)
set(MIVO_TESTING64_DIR ${MIVO_TESTING_DIR}/win64)
set(MIVO_TESTING_XP_DIR ${MIVO_TESTING_DIR}/winxp)
# A prefix of the build's architecture where Messenger's class is served out of process, as
# by Messenger itself: the content installer stand-in's program, not its DLL.
set(MIVO_TESTING_OOP_DIR ${MIVO_TESTING_DIR}/out-of-process)
set(MIVO_TESTING_OOP_XP_DIR ${MIVO_TESTING_DIR}/out-of-process-xp)
if(MIVO_TEST_BITS EQUAL 32)
  mivo_configure_prefix_scripts(${MIVO_TESTING_DIR} ${CMAKE_BINARY_DIR}/wineprefix win32 wine regsvr32 "''" "")
  mivo_configure_prefix_scripts(${MIVO_TESTING64_DIR} ${CMAKE_BINARY_DIR}/wineprefix64 win64 wine
    "C:\\windows\\syswow64\\regsvr32.exe" "/reg:64 /reg:32" "")
  mivo_configure_prefix_scripts(${MIVO_TESTING_XP_DIR} ${CMAKE_BINARY_DIR}/wineprefix-xp win32 wine regsvr32
    "''" winxp)
  mivo_configure_prefix_scripts(${MIVO_TESTING_OOP_DIR} ${CMAKE_BINARY_DIR}/wineprefix-oop win32 wine regsvr32
    "''" "")
  mivo_configure_prefix_scripts(${MIVO_TESTING_OOP_XP_DIR} ${CMAKE_BINARY_DIR}/wineprefix-oop-xp win32 wine
    regsvr32 "''" winxp)
else()
  mivo_configure_prefix_scripts(${MIVO_TESTING_DIR} ${CMAKE_BINARY_DIR}/wineprefix win64
    ${MIVO_WINE64_LOADER} regsvr32 "''" "")
  mivo_configure_prefix_scripts(${MIVO_TESTING_XP_DIR} ${CMAKE_BINARY_DIR}/wineprefix-xp win64
    ${MIVO_WINE64_LOADER} regsvr32 "''" winxp64)
  mivo_configure_prefix_scripts(${MIVO_TESTING_OOP_DIR} ${CMAKE_BINARY_DIR}/wineprefix-oop win64
    ${MIVO_WINE64_LOADER} regsvr32 "''" "")
  mivo_configure_prefix_scripts(${MIVO_TESTING_OOP_XP_DIR} ${CMAKE_BINARY_DIR}/wineprefix-oop-xp win64
    ${MIVO_WINE64_LOADER} regsvr32 "''" winxp64)
endif()
# One server for all prefixes.
file(REMOVE ${MIVO_TESTING64_DIR}/content-server.sh ${MIVO_TESTING_XP_DIR}/content-server.sh
  ${MIVO_TESTING_OOP_DIR}/content-server.sh ${MIVO_TESTING_OOP_XP_DIR}/content-server.sh)
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

# The set-up script against stand-ins of apt, first of all: no Wine, no network.
add_test(NAME install_deps_script COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/install_deps_test.sh)
add_test(NAME content_server_start COMMAND ${MIVO_TESTING_DIR}/content-server.sh start)
set_tests_properties(content_server_start PROPERTIES DEPENDS install_deps_script)
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
    SKIP_RETURN_CODE ${MIVO_SKIP_CODE}
    ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()

# The fixture <name>: the prefix of the scripts in <dir> made and the DLLs registered in it
# before its tests, its wineserver ended after them.
function(mivo_add_prefix_fixture name dir)
  add_test(NAME ${name}_setup COMMAND ${dir}/setup-prefix.sh ${ARGN})
  add_test(NAME ${name}_shutdown COMMAND ${dir}/setup-prefix.sh --shutdown)
  set_tests_properties(${name}_setup PROPERTIES FIXTURES_SETUP ${name} TIMEOUT 300
    SKIP_RETURN_CODE ${MIVO_SKIP_CODE})
  set_tests_properties(${name}_shutdown PROPERTIES FIXTURES_CLEANUP ${name}
    SKIP_RETURN_CODE ${MIVO_SKIP_CODE})
endfunction()

# Called once all targets are known (end of tests/CMakeLists.txt).
function(mivo_finish_test_fixtures)
  get_property(dlls GLOBAL PROPERTY MIVO_PREFIX_DLLS)
  mivo_add_prefix_fixture(wineprefix ${MIVO_TESTING_DIR} ${dlls})
  mivo_add_prefix_fixture(wineprefix_xp ${MIVO_TESTING_XP_DIR} ${dlls})
  set(out_of_process ${dlls})
  list(REMOVE_ITEM out_of_process "$<TARGET_FILE:testbed_content_installer>")
  list(APPEND out_of_process "$<TARGET_FILE:testbed_content_installer_server>")
  mivo_add_prefix_fixture(wineprefix_oop ${MIVO_TESTING_OOP_DIR} ${out_of_process})
  mivo_add_prefix_fixture(wineprefix_oop_xp ${MIVO_TESTING_OOP_XP_DIR} ${out_of_process})
  if(MIVO_TEST_BITS EQUAL 32)
    mivo_add_prefix_fixture(wineprefix64 ${MIVO_TESTING64_DIR} ${dlls})
  endif()
endfunction()

# mivo_add_prefix_test(<name> <test program> <fixture> <scripts dir> [ENVIRONMENT ...]): runs
# a test program again in another prefix of the build.
function(mivo_add_prefix_test name target fixture dir)
  cmake_parse_arguments(T "" "" "ENVIRONMENT" ${ARGN})
  add_test(NAME ${name} COMMAND ${dir}/wine-run.sh $<TARGET_FILE:${target}>)
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED "${fixture};content_server"
    RESOURCE_LOCK "${fixture};content_server"
    TIMEOUT 600
    SKIP_RETURN_CODE ${MIVO_SKIP_CODE}
    ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()

# mivo_add_win64_test(<name> <test program> [ENVIRONMENT ...]): in the 32-bit build, runs a
# test program again in the 64-bit prefix (WoW64). The 64-bit build is that prefix's own.
function(mivo_add_win64_test name target)
  if(MIVO_TEST_BITS EQUAL 32)
    mivo_add_prefix_test(${name} ${target} wineprefix64 ${MIVO_TESTING64_DIR} ${ARGN})
  endif()
endfunction()

# mivo_add_xp_test(<name> <test program> [ENVIRONMENT ...]): runs a test program again in the
# prefix that calls itself Windows XP, so that nothing depends on a newer version number.
function(mivo_add_xp_test name target)
  mivo_add_prefix_test(${name} ${target} wineprefix_xp ${MIVO_TESTING_XP_DIR} ${ARGN})
endfunction()

# mivo_add_out_of_process_test(<name> <test program> [XP] [ENVIRONMENT ...]): runs a test
# program again in the prefix where the content installer is a local server in a process of
# its own; XP: in such a prefix that calls itself Windows XP.
function(mivo_add_out_of_process_test name target)
  cmake_parse_arguments(T "XP" "" "" ${ARGN})
  if(T_XP)
    mivo_add_prefix_test(${name} ${target} wineprefix_oop_xp ${MIVO_TESTING_OOP_XP_DIR} ${T_UNPARSED_ARGUMENTS})
  else()
    mivo_add_prefix_test(${name} ${target} wineprefix_oop ${MIVO_TESTING_OOP_DIR} ${T_UNPARSED_ARGUMENTS})
  endif()
  add_dependencies(${target} testbed_content_installer_server)
endfunction()
