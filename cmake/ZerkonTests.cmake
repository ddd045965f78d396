# zk_test_environment(<name> <variable>): the environment of a test run under <name>: its own
# HOME and XDG folders under the build tree, and Qt offscreen.
function(zk_test_environment name variable)
  set(home ${CMAKE_BINARY_DIR}/test-home/${name})
  file(MAKE_DIRECTORY ${home}/run)
  file(CHMOD ${home}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set(${variable}
    "HOME=${home}"
    "XDG_CONFIG_HOME=${home}/config"
    "XDG_DATA_HOME=${home}/data"
    "XDG_CACHE_HOME=${home}/cache"
    "XDG_RUNTIME_DIR=${home}/run"
    "QT_QPA_PLATFORM=offscreen"
    "ZERKON_BUILD_DIR=${CMAKE_BINARY_DIR}"
    "ZERKON_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    PARENT_SCOPE)
endfunction()

# zk_add_gtest(<target> SOURCES ... LIBS ... [WHOLE] [CORE] [TIMEOUT s])
# A GoogleTest program with a QApplication (offscreen); CORE: with a QCoreApplication and the
# Qt-Core test support only, for the widget-free layers. By default every test case is its own
# CTest test; WHOLE runs the program as one test (for suites that share an expensive fixture
# such as a started browser or office). Every test runs with its own HOME and XDG folders under
# the build tree, so nothing touches the real user's folders.
function(zk_add_gtest target)
  cmake_parse_arguments(ARG "WHOLE;CORE" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  zk_refuse_unknown(zk_add_gtest ${target} "${ARG_UNPARSED_ARGUMENTS}" ${ARG_SOURCES} ${ARG_LIBS})
  add_executable(${target} ${ARG_SOURCES})
  if(ARG_CORE)
    target_link_libraries(${target} PRIVATE zk_testmain_core ${ARG_LIBS})
  else()
    target_link_libraries(${target} PRIVATE zk_testmain ${ARG_LIBS})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  zk_test_environment(${target} env)
  if(ARG_WHOLE)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${ARG_TIMEOUT})
  else()
    # gtest_discover_tests flattens a list-valued ENVIRONMENT property (only its first entry
    # would reach the tests), so each discovered test is started through "cmake -E env" instead.
    set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${env}")
    gtest_discover_tests(${target} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                         DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
