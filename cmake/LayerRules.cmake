# What a layer of the program may include, checked when the project is
# configured: a layer's CMakeLists.txt states its rules in one call, and a
# source that breaks one stops the configuration with the file and the
# offending line.
#
#   mirawen_layer_rules([DIR folder]                 default: the calling folder
#                       [FORBID_QT]                  no Qt header (<Q...>, "Q...")
#                       [FORBID_WINDOWS]             no <windows.h>...
#                       [ALLOW_WINDOWS file...]      ...except in these files
#                       [FORBID_INCLUDES prefix...]) no "prefix..." or <prefix...>
#
# For example, a layer with neither Qt nor Windows that uses none of the
# layers above it:
#
#   mirawen_layer_rules(FORBID_QT FORBID_WINDOWS FORBID_INCLUDES app/ controls/ win/ cli/)
#
# Every .h, .hpp and .cpp under the folder is read. A file added later makes
# the build configure again; an include added to a file that was already
# there is caught at the next configuration (CI configures afresh).
function(mirawen_layer_rules)
  cmake_parse_arguments(PARSE_ARGV 0 rule "FORBID_QT;FORBID_WINDOWS" "DIR"
                        "ALLOW_WINDOWS;FORBID_INCLUDES")
  if(rule_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "mirawen_layer_rules: unknown arguments ${rule_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT rule_DIR)
    set(rule_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  get_filename_component(rule_DIR "${rule_DIR}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  file(RELATIVE_PATH layer ${PROJECT_SOURCE_DIR} ${rule_DIR})

  set(allowed)
  foreach(file IN LISTS rule_ALLOW_WINDOWS)
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR ${rule_DIR})
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "mirawen_layer_rules: ${layer}/: ALLOW_WINDOWS names ${file}, "
                          "which does not exist")
    endif()
    list(APPEND allowed ${file})
  endforeach()
  set(except)
  if(rule_ALLOW_WINDOWS)
    list(JOIN rule_ALLOW_WINDOWS ", " except)
    set(except " outside ${except}")
  endif()

  set(include "^[ \t]*#[ \t]*include[ \t]*")
  set(patterns)
  set(reasons)
  if(rule_FORBID_QT)
    list(APPEND patterns "${include}[<\"]Q")
    list(APPEND reasons "Qt")
  endif()
  foreach(prefix IN LISTS rule_FORBID_INCLUDES)
    if(NOT prefix MATCHES "^[A-Za-z0-9_/-]+$")
      message(FATAL_ERROR "mirawen_layer_rules: FORBID_INCLUDES takes folder names, not '${prefix}'")
    endif()
    list(APPEND patterns "${include}[<\"]${prefix}")
    list(APPEND reasons "${prefix}")
  endforeach()
  # Windows' own file names are not case-sensitive.
  set(windows_pattern "${include}[<\"][Ww][Ii][Nn][Dd][Oo][Ww][Ss]\\.[Hh][>\"]")

  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${rule_DIR}/*.h ${rule_DIR}/*.hpp ${rule_DIR}/*.cpp)
  set(broken)
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${source})
    file(STRINGS ${source} lines REGEX "${include}[<\"]")
    foreach(line IN LISTS lines)
      string(STRIP "${line}" line)
      foreach(pattern reason IN ZIP_LISTS patterns reasons)
        if(line MATCHES "${pattern}")
          list(APPEND broken "  ${name}: ${line}  (${layer}/ includes no ${reason})")
        endif()
      endforeach()
      if(rule_FORBID_WINDOWS AND line MATCHES "${windows_pattern}"
         AND NOT source IN_LIST allowed)
        list(APPEND broken "  ${name}: ${line}  (${layer}/ includes no <windows.h>${except})")
      endif()
    endforeach()
  endforeach()
  if(broken)
    list(JOIN broken "\n" broken)
    message(FATAL_ERROR "The layer ${layer}/ breaks its include rules:\n${broken}\n")
  endif()
endfunction()
