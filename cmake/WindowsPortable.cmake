# Lays out the portable Windows folder and packs it as a zip beside it: the program, the Qt
# libraries and plugins it loads, its fonts, the compiler's runtime, README and licence. Run by the
# windows-zip target: cmake -DPROGRAM=… -DQT_DIR=… -DOUT=… -DSOURCE=… -DCXX=… -DSTRIP=… -DFONTS=… -P WindowsPortable.cmake
foreach(var PROGRAM QT_DIR OUT SOURCE CXX STRIP FONTS)
  if(NOT ${var})
    message(FATAL_ERROR "WindowsPortable.cmake needs -D${var}=")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/platforms ${OUT}/imageformats ${OUT}/styles)
file(COPY ${PROGRAM} ${SOURCE}/LICENSE ${SOURCE}/README.md DESTINATION ${OUT})
# The debugging information stays in the build; the copy users get is a tenth of its size.
get_filename_component(program_name ${PROGRAM} NAME)
execute_process(COMMAND ${STRIP} --strip-debug ${OUT}/${program_name} RESULT_VARIABLE stripped)
if(NOT stripped EQUAL 0)
  message(FATAL_ERROR "cannot strip ${OUT}/${program_name}")
endif()
foreach(lib Qt6Core Qt6Gui Qt6Widgets)
  file(COPY ${QT_DIR}/bin/${lib}.dll DESTINATION ${OUT})
endforeach()
file(COPY ${QT_DIR}/plugins/platforms/qwindows.dll DESTINATION ${OUT}/platforms)
# Logo and battery pictures may be GIF files beside the program.
file(GLOB formats ${QT_DIR}/plugins/imageformats/qgif.dll ${QT_DIR}/plugins/imageformats/qico.dll)
file(COPY ${formats} DESTINATION ${OUT}/imageformats)
file(GLOB styles ${QT_DIR}/plugins/styles/*.dll)
if(styles)
  file(COPY ${styles} DESTINATION ${OUT}/styles)
endif()

# The families the window is drawn in (Windows has neither), with their licences.
file(MAKE_DIRECTORY ${OUT}/fonts)
foreach(font IN LISTS FONTS)
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "${font} is missing (scripts/install-deps.sh installs it)")
  endif()
  file(COPY ${font} DESTINATION ${OUT}/fonts)
endforeach()
configure_file(/usr/share/doc/fonts-dejavu-core/copyright ${OUT}/fonts/DejaVu-LICENSE.txt COPYONLY)
configure_file(/usr/share/doc/fonts-wqy-microhei/copyright ${OUT}/fonts/WenQuanYi-LICENSE.txt
               COPYONLY)

# The compiler's runtime, as the compiler itself finds it.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CXX} -print-file-name=${dll} OUTPUT_VARIABLE found
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    # libwinpthread lives with the target's libraries rather than the compiler's.
    file(GLOB found /usr/x86_64-w64-mingw32/lib/${dll})
  endif()
  if(NOT found)
    message(FATAL_ERROR "the compiler's runtime ${dll} is not to be found")
  endif()
  file(COPY ${found} DESTINATION ${OUT})
endforeach()

get_filename_component(name ${OUT} NAME)
get_filename_component(parent ${OUT} DIRECTORY)
file(REMOVE ${parent}/${name}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${name}.zip --format=zip ${name}
                WORKING_DIRECTORY ${parent} RESULT_VARIABLE packed)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "cannot pack ${name}.zip")
endif()
message(STATUS "${parent}/${name}.zip")
