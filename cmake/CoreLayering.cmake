# The core library (interpreter, values, builtins, graphics, io, exam, text)
# knows no window toolkit: it is shared by the headless runner and the
# desktop program, and its tests run without a display. These checks keep it
# that way.
#
# Used two ways:
#   include(cmake/CoreLayering.cmake)       -- in the build, at configure time
#   cmake -DTESMORA_CORE_ROOT=<src> -P cmake/CoreLayering.cmake
#                                           -- as a test, so an edit made
#                                              after configuring is caught too

set(TESMORA_CORE_FOLDERS interp values builtins graphics io exam text)

# Fails when any core source or header includes a Qt header (<QString>,
# <QtCore/...>, "QObject" ...).
function(tesmora_check_core_has_no_qt_includes root)
  set(offenders)
  foreach(folder IN LISTS TESMORA_CORE_FOLDERS)
    file(GLOB_RECURSE files "${root}/${folder}/*.h" "${root}/${folder}/*.hpp"
                            "${root}/${folder}/*.cpp" "${root}/${folder}/*.inc")
    foreach(file IN LISTS files)
      file(STRINGS "${file}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
      if(hits)
        file(RELATIVE_PATH shown "${root}" "${file}")
        list(GET hits 0 first)
        string(STRIP "${first}" first)
        list(APPEND offenders "  ${shown}: ${first}")
      endif()
    endforeach()
  endforeach()
  if(offenders)
    list(JOIN offenders "\n" report)
    message(FATAL_ERROR
      "The core library must not use Qt; these files include Qt headers:\n"
      "${report}\n"
      "Move the Qt code to src/app and reach it through the Host interface.")
  endif()
endfunction()

# Fails when the core target (directly or through its interface) links Qt.
function(tesmora_check_core_links_no_qt target)
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libraries ${target} ${property})
    if(libraries)
      foreach(library IN LISTS libraries)
        if(library MATCHES "(^|[:/]|lib)Qt[0-9]*(::|Core|Gui|Widgets|$)")
          message(FATAL_ERROR
            "${target} must not link Qt, but ${property} holds ${library}.")
        endif()
      endforeach()
    endif()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED TESMORA_CORE_ROOT)
  tesmora_check_core_has_no_qt_includes("${TESMORA_CORE_ROOT}")
  message(STATUS "No core file includes a Qt header.")
endif()
