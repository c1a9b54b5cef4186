# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH="<Windows libraries>;..."
#
# The posix flavour of the compiler, whose C++ library has std::thread and std::mutex.
# Libraries and packages are taken only from MinGW's own folder and from the folders given in
# CMAKE_PREFIX_PATH (GoogleTest, later Qt built for Windows), never from the Linux system;
# programs (Qt's host tools included) run on Linux. The programs built here run under Wine
# through scripts/wine-run.sh, with a Wine prefix in the build folder: CTest runs the tests
# that way, and GoogleTest's discovery of test cases at build time too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SOLVENA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SOLVENA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SOLVENA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SOLVENA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SOLVENA_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's run-time DLLs (libstdc++-6, libgcc_s_seh-1, libwinpthread-1) are found by
# Wine in their MinGW folders; a program shipped to Windows carries them beside it.
if(NOT DEFINED SOLVENA_MINGW_DLL_DIRS)
  set(SOLVENA_MINGW_DLL_DIRS "")
  foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
    if(rc EQUAL 0 AND IS_ABSOLUTE "${path}")
      get_filename_component(dir "${path}" DIRECTORY)
      file(REAL_PATH "${dir}" dir)
      list(APPEND SOLVENA_MINGW_DLL_DIRS "${dir}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES SOLVENA_MINGW_DLL_DIRS)
endif()

set(SOLVENA_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix" CACHE PATH
    "The Wine prefix the Windows programs of this build run in (made on first use)")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh
    --prefix ${SOLVENA_WINE_PREFIX})
foreach(dir IN LISTS SOLVENA_MINGW_DLL_DIRS)
  list(APPEND CMAKE_CROSSCOMPILING_EMULATOR --dll-path ${dir})
endforeach()
list(APPEND CMAKE_CROSSCOMPILING_EMULATOR --)
