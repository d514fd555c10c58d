# The download: Release builds that give the same bytes on every machine, and the
# target `release_zip` that packs the shipped programs with the user guide, the
# license and their checksums (tools/package builds it).
if(NOT WIN32)
  return()
endif()

if(MINGW)
  # No build folder in the programs (file names in macros and debug records), no
  # link time stamp in the PE header, no symbol table.
  add_compile_options("$<$<AND:$<CONFIG:Release>,$<COMPILE_LANGUAGE:C,CXX>>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.;-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>")
  add_link_options(-Wl,--no-insert-timestamp "$<$<CONFIG:Release>:-s>")
endif()

# The programs the zip holds; the report program when the build has it. Empty entries
# (a program the build lacks) are dropped by the packer and the tests.
set(TEVRIN_SHIPPED_PROGRAMS $<TARGET_FILE:nibscope>)
foreach(target nibscope-report nibscope_report)
  list(APPEND TEVRIN_SHIPPED_PROGRAMS "$<$<TARGET_EXISTS:${target}>:$<TARGET_FILE:${target}>>")
endforeach()

# The x86 programs, from the x86 Release build that tools/package makes beside this one,
# go into the zip's x86/ folder.
set(TEVRIN_X86_RELEASE_BUILD "" CACHE PATH "x86 Release build whose programs the zip holds in x86/")
if(TEVRIN_X86_RELEASE_BUILD)
  list(APPEND TEVRIN_SHIPPED_PROGRAMS x86/nibscope.exe=${TEVRIN_X86_RELEASE_BUILD}/app/nibscope.exe
                                      x86/nibscope-report.exe=${TEVRIN_X86_RELEASE_BUILD}/report/nibscope-report.exe)
endif()

set(TEVRIN_DIST_DIR ${CMAKE_BINARY_DIR}/dist CACHE PATH "Folder that receives the release zip")
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_target(release_zip
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_release_zip.py
          ${TEVRIN_DIST_DIR}/tevrin-nibscope-${PROJECT_VERSION}-win64.zip
          ${CMAKE_SOURCE_DIR}/docs/user-guide.md ${CMAKE_SOURCE_DIR}/LICENSE ${TEVRIN_SHIPPED_PROGRAMS}
  VERBATIM)
