# Cross build for 64-bit Windows with mingw-w64, the POSIX-threads variant (std::thread), run
# under Wine: cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# With QUELVANE_QT_WINDOWS naming a Qt for Windows (scripts/build-qt-windows.sh prints it), the
# whole program is built; without, the Qt-free layers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(QUELVANE_QT_WINDOWS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${QUELVANE_QT_WINDOWS})
  list(APPEND CMAKE_PREFIX_PATH ${QUELVANE_QT_WINDOWS})
  # Qt's tools (moc, rcc) are the build machine's own.
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
  # Qt 6 runs on Windows 10 and later. The runtime (libstdc++, libgcc, winpthreads) is Qt's too:
  # one copy of it, shipped beside the program.
  add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00)
else()
  # Windows 7 and later (LOAD_LIBRARY_SEARCH_SYSTEM32). The runtime is linked in, so that the
  # programs run without mingw's DLLs beside them.
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

# Tests run under Wine, with its prefix in the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wine)
