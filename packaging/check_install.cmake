# Installs the build tree into a fresh prefix and checks that every file a
# desktop needs is where desktop environments look for it.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
  bin/tesmora
  bin/tesmora-run
  share/applications/tesmora.desktop
  share/mime/packages/tesmora.xml
  share/icons/hicolor/scalable/apps/tesmora.svg
  share/icons/hicolor/scalable/mimetypes/text-x-tesmora.svg
  share/tesmora/examples/linear_system.tsm
)
foreach(path IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
# The installed runner works from its new place.
execute_process(COMMAND ${PREFIX}/bin/tesmora-run -e "2 + 3 * 4"
                OUTPUT_VARIABLE printed RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT printed MATCHES "^14")
  message(FATAL_ERROR "installed tesmora-run printed '${printed}' (${result})")
endif()
file(REMOVE_RECURSE ${PREFIX})
