# The Windows build without Qt: the plain C++ layers (framework text, settings text, hid with the
# Windows binding, receiver) and their tests. Included from the top-level CMakeLists.txt.

add_subdirectory(src/framework)
add_subdirectory(src/platform/settings)
add_subdirectory(src/hid)
add_subdirectory(src/receiver)

if(NOT QUELVANE_TESTS)
  return()
endif()

# Debian's GoogleTest libraries are built for Linux; build it from its source package with the
# Windows compiler. Its sources are not ours: our warning flags stay off them, and its headers
# count as system headers.
set(QUELVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
get_directory_property(own_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QUELVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${own_options}")

enable_testing()
add_library(quelvane_test_common INTERFACE)
target_include_directories(quelvane_test_common INTERFACE ${PROJECT_SOURCE_DIR}/tests)
add_subdirectory(tests/hid)
add_subdirectory(tests/receiver)
