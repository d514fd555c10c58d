# What the two MinGW-w64 toolchain files share: Debian's cross compilers of the posix
# thread model (std::thread and std::mutex exist), found under TEVRIN_MINGW_PREFIX,
# which the toolchain file sets with CMAKE_SYSTEM_PROCESSOR before including this.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${TEVRIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEVRIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TEVRIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TEVRIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every Windows program of the project, test programs included, runs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)

# No MinGW runtime DLLs beside the executables.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
