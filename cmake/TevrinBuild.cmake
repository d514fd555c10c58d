# Helpers shared by the project's CMake files.

set(TEVRIN_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Gives the users of target (and target itself) an include folder that holds only the
# given folder of the sources, as in #include "tevrin/ui/window.h": a library's users
# can include its headers and those of the libraries it passes on, and nothing else
# of the tree (not the program's app/ headers, not the tests).
#   tevrin_expose_headers(tevrin_ui tevrin/ui)
function(tevrin_expose_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${TEVRIN_SOURCE_ROOT}/${folder} ${root}/${folder} SYMBOLIC COPY_ON_ERROR)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# Adds a VERSIONINFO block with the given four-part file version to a Windows target;
# an optional sixth argument replaces the product's file description.
function(tevrin_add_version_resource target major minor third fourth)
  set(TEVRIN_RC_DESCRIPTION NIBSCOPE_DESCRIPTION)
  if(ARGC GREATER 5)
    set(TEVRIN_RC_DESCRIPTION "\"${ARGV5}\"")
  endif()
  set(TEVRIN_RC_MAJOR ${major})
  set(TEVRIN_RC_MINOR ${minor})
  set(TEVRIN_RC_THIRD ${third})
  set(TEVRIN_RC_FOURTH ${fourth})
  set(TEVRIN_RC_NAME ${target})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${TEVRIN_SOURCE_ROOT}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY INCLUDE_DIRECTORIES ${TEVRIN_SOURCE_ROOT})
endfunction()

# GoogleTest from Debian's sources, built with the project's compiler.
macro(tevrin_add_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(WIN32)
    # Every Windows test needs the private Wine prefix and display first.
    add_test(NAME wine_environment_start COMMAND ${TEVRIN_SOURCE_ROOT}/tools/wine-run --start ${CMAKE_BINARY_DIR})
    add_test(NAME wine_environment_stop COMMAND ${TEVRIN_SOURCE_ROOT}/tools/wine-run --stop ${CMAKE_BINARY_DIR})
    set_tests_properties(wine_environment_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    set_tests_properties(wine_environment_stop PROPERTIES FIXTURES_CLEANUP wine)
  endif()
endmacro()

# A GoogleTest program run as one test: under Wine for the Windows build, natively
# (with the sanitizers) for the host build.
#   tevrin_add_gtest(NAME name SOURCES ... LIBRARIES ... [TIMEOUT s] [SERIAL] [ENVIRONMENT ...] [ARGS ...])
function(tevrin_add_gtest)
  cmake_parse_arguments(T "SERIAL" "NAME;TIMEOUT" "SOURCES;LIBRARIES;ENVIRONMENT;ARGS" ${ARGN})
  if(NOT TARGET ${T_NAME})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBRARIES} GTest::gtest GTest::gmock)
    target_include_directories(${T_NAME} PRIVATE ${TEVRIN_SOURCE_ROOT} ${TEVRIN_SOURCE_ROOT}/tests)
  endif()
  tevrin_register_test(${ARGV})
endfunction()

# Registers one more run of an existing test program (another scenario, filter or environment).
#   tevrin_register_test(NAME test TARGET program [ARGS ...] [ENVIRONMENT ...] [TIMEOUT s] [SERIAL])
function(tevrin_register_test)
  cmake_parse_arguments(T "SERIAL" "NAME;TARGET;TIMEOUT" "SOURCES;LIBRARIES;ENVIRONMENT;ARGS" ${ARGN})
  if(NOT T_TARGET)
    set(T_TARGET ${T_NAME})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_TARGET} ${T_ARGS})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_ENVIRONMENT)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  if(WIN32)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
  if(T_SERIAL)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL ON)
  endif()
endfunction()
