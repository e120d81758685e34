# Cross build for 64-bit Windows with mingw-w64, the POSIX-threads variant (std::thread), run
# under Wine: cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# With QUELVANE_QT_WINDOWS naming a Qt for Windows (scripts/build-qt-windows.sh prints it), the
# whole program is built; without, the Qt-free layers.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-compilers.cmake)

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
