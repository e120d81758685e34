# The Windows build's own parts. Included from the top-level CMakeLists.txt.
include_guard(GLOBAL)

# Debian's GoogleTest libraries are built for Linux; build it from its source package with the
# Windows compiler. Its sources are not ours: our warning flags stay off them, and its headers
# count as system headers.
macro(quelvane_windows_googletest)
  set(QUELVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  get_directory_property(own_options COMPILE_OPTIONS)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${QUELVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                   SYSTEM)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${own_options}")
endmacro()

# Without Qt: the plain C++ layers (framework text, settings text, hid with the Windows binding,
# receiver) and their tests.
macro(quelvane_windows_without_qt)
  add_subdirectory(src/framework)
  add_subdirectory(src/platform/settings)
  add_subdirectory(src/hid)
  add_subdirectory(src/receiver)
  if(QUELVANE_TESTS)
    quelvane_windows_googletest()
    enable_testing()
    add_library(quelvane_test_common INTERFACE)
    target_include_directories(quelvane_test_common INTERFACE ${PROJECT_SOURCE_DIR}/tests)
    add_subdirectory(tests/hid)
    add_subdirectory(tests/receiver)
    add_subdirectory(tests/platform/settings)
  endif()
endmacro()

# The portable folder: the program, the Qt libraries and plugins it loads, the compiler's
# runtime, README and licence; `cmake --build . --target windows-zip` packs it.
macro(quelvane_windows_package)
  # The fonts the portable folder carries, beside the built program too, so that its tests draw
  # with them as a user's copy would.
  set(QUELVANE_WINDOWS_FONTS /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
      /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
      /usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf
      /usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf
      /usr/share/fonts/truetype/wqy/wqy-microhei.ttc)
  add_custom_target(windows-fonts ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/fonts
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUELVANE_WINDOWS_FONTS} ${PROJECT_BINARY_DIR}/fonts
    VERBATIM)
  set(QUELVANE_PORTABLE_DIR ${PROJECT_BINARY_DIR}/quelvane-${PROJECT_VERSION}-windows-x86_64)
  add_custom_target(windows-zip
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:quelvane> -DQT_DIR=${QUELVANE_QT_WINDOWS}
            -DOUT=${QUELVANE_PORTABLE_DIR} -DSOURCE=${PROJECT_SOURCE_DIR}
            -DCXX=${CMAKE_CXX_COMPILER} -DSTRIP=${CMAKE_STRIP} "-DFONTS=${QUELVANE_WINDOWS_FONTS}" -P ${PROJECT_SOURCE_DIR}/cmake/WindowsPortable.cmake
    DEPENDS quelvane VERBATIM)
endmacro()
