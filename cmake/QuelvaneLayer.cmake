# One static library per source folder; files are picked up by glob (subfolders included) so that
# adding a file or a subfolder needs no edit here. DIR defaults to the calling folder; EXCLUDE
# names subfolders that are libraries of their own. A folder without .cpp files (or not there yet)
# gives an interface library, so that dependents link the same either way.
function(quelvane_layer name)
  cmake_parse_arguments(L "" "DIR" "PUBLIC_DEPS;QRC;EXCLUDE" ${ARGN})
  if(NOT L_DIR)
    set(L_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${L_DIR}/*.cpp ${L_DIR}/*.h)
  foreach(sub IN LISTS L_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${L_DIR}/${sub}/")
  endforeach()
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
# A subfolder is a test program of its own.
function(quelvane_test_layer name)
  cmake_parse_arguments(L "QT_MAIN" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
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
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1"
                       DISCOVERY_TIMEOUT 60)
endfunction()
