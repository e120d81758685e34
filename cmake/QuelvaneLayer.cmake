# Drops from `list_var` the files (names relative to `dir`) that belong to the other platform:
# LINUX_ONLY files build only for Linux, WINDOWS_ONLY files only for Windows.
function(quelvane_platform_files list_var dir linux_only windows_only)
  if(WIN32)
    set(foreign ${linux_only})
  else()
    set(foreign ${windows_only})
  endif()
  set(files ${${list_var}})
  foreach(f IN LISTS foreign)
    list(REMOVE_ITEM files ${dir}/${f})
    set_property(GLOBAL APPEND PROPERTY QUELVANE_FOREIGN_FILES ${dir}/${f})
  endforeach()
  set(${list_var} ${files} PARENT_SCOPE)
endfunction()

# One static library per source folder; files are picked up by glob (subfolders included) so that
# adding a file or a subfolder needs no edit here. DIR defaults to the calling folder; EXCLUDE
# names subfolders that are libraries of their own; LINUX_ONLY and WINDOWS_ONLY name the files of
# one platform. A folder without .cpp files (or not there yet) gives an interface library, so that
# dependents link the same either way.
function(quelvane_layer name)
  cmake_parse_arguments(L "" "DIR" "PUBLIC_DEPS;QRC;EXCLUDE;LINUX_ONLY;WINDOWS_ONLY" ${ARGN})
  if(NOT L_DIR)
    set(L_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${L_DIR}/*.cpp ${L_DIR}/*.h)
  foreach(sub IN LISTS L_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${L_DIR}/${sub}/")
  endforeach()
  quelvane_platform_files(srcs ${L_DIR} "${L_LINUX_ONLY}" "${L_WINDOWS_ONLY}")
  list(APPEND srcs ${L_QRC})
  set(has_cpp FALSE)
  foreach(s IN LISTS srcs)
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${L_PUBLIC_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${L_PUBLIC_DEPS})
  endif()
endfunction()

# The skin's theme-file reader: plain C++ without Qt, a library of its own so that the fuzz
# build (which has no Qt) can take it.
function(quelvane_skin_theme)
  quelvane_layer(quelvane_skin_theme DIR ${PROJECT_SOURCE_DIR}/src/skin/theme
                 PUBLIC_DEPS quelvane_framework_core)
endfunction()

# One GoogleTest executable per test folder, registered with CTest.
# A subfolder is a test program of its own. LINUX_ONLY and WINDOWS_ONLY as for quelvane_layer.
function(quelvane_test_layer name)
  cmake_parse_arguments(L "QT_MAIN" "" "DEPS;LINUX_ONLY;WINDOWS_ONLY" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  quelvane_platform_files(srcs ${CMAKE_CURRENT_SOURCE_DIR} "${L_LINUX_ONLY}" "${L_WINDOWS_ONLY}")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  if(L_QT_MAIN)
    target_link_libraries(${name} PRIVATE ${L_DEPS} quelvane_test_qtmain GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${L_DEPS} GTest::gmock_main)
  endif()
  target_compile_definitions(${name} PRIVATE QUELVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
  if(CMAKE_CROSSCOMPILING)
    # One emulator run per program: starting a Windows program under Wine costs far more than
    # its tests.
    add_test(NAME ${name} COMMAND ${name})
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1"
                       DISCOVERY_TIMEOUT 60)
endfunction()
