# Cross-compiles for 32-bit Windows (x86) with Debian's MinGW-w64: the programs that
# 32-bit drawing programs' users run, and the report's 32-bit twin.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TEVRIN_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/TevrinMinGW.cmake)
# SSE2 arithmetic, as x64 has, rather than the x87 unit's wider intermediates: the
# pressure mapping and the brush then round as the x64 program's do, pixel for pixel.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
