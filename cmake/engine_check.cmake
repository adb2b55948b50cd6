# The engine stands without windows: the libraries below link neither Qt Widgets nor Qt Gui,
# however deep in their link libraries, and none of their sources includes a header of the
# windows' own code, which lives in each subsystem's window/ folder and in shell/. Checked when the build is configured, so that a window creeping into
# the engine stops the build at once instead of surfacing in a front end without a display.
set(QUINTABEL_ENGINE_TARGETS
  quintabel_kill_points quintabel_report_excerpt quintabel_no_replace_move quintabel_base quintabel_frontend
  quintabel_paradoxfile quintabel_fsutil
  quintabel_db_value quintabel_drivers quintabel_drivers_mysql quintabel_drivers_scratch quintabel_drivers_paradox
  quintabel_connections quintabel_catalogue
  quintabel_transfer_core quintabel_mysql_swap quintabel_transfers
  quintabel_paradox_replace quintabel_paradox_recovery_notice quintabel_maintenance
  quintabel_customise_core quintabel_customise_loading
  # The command line is a front end, but one without windows: it stands on the same rules.
  quintabel_cli_core quintabel_cli quintabel-cli)

set(QUINTABEL_WINDOW_LIBRARIES Qt6::Widgets Qt6::Gui)

# The targets named in a link library list, without generator expressions around them.
function(_quintabel_linked_names out)
  set(names "")
  foreach(entry IN LISTS ARGN)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" entry "${entry}")
    if(entry MATCHES "^\\$<")
      continue() # conditions of the toolchain, not libraries of ours
    endif()
    list(APPEND names "${entry}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Fails when `target` reaches a window library through its link libraries; `path` is the way
# there, for the message.
function(_quintabel_check_links target path)
  if(target IN_LIST QUINTABEL_WINDOW_LIBRARIES)
    message(FATAL_ERROR "The engine links the windows: ${path} -> ${target}")
  endif()
  if(NOT TARGET ${target})
    return()
  endif()
  get_target_property(imported ${target} IMPORTED)
  get_target_property(aliased ${target} ALIASED_TARGET)
  if(aliased)
    set(target ${aliased})
  endif()
  get_property(seen GLOBAL PROPERTY _QUINTABEL_LINKS_SEEN)
  if(target IN_LIST seen)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY _QUINTABEL_LINKS_SEEN ${target})
  set(linked "")
  if(NOT imported)
    get_target_property(direct ${target} LINK_LIBRARIES)
    if(direct)
      list(APPEND linked ${direct})
    endif()
  endif()
  get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
  if(interface)
    list(APPEND linked ${interface})
  endif()
  _quintabel_linked_names(names ${linked})
  foreach(name IN LISTS names)
    _quintabel_check_links(${name} "${path} -> ${target}")
  endforeach()
endfunction()

function(quintabel_check_engine)
  foreach(target IN LISTS QUINTABEL_ENGINE_TARGETS)
    if(NOT TARGET ${target})
      message(FATAL_ERROR "The engine check names ${target}, which no part defines")
    endif()
    set_property(GLOBAL PROPERTY _QUINTABEL_LINKS_SEEN "")
    _quintabel_check_links(${target} "engine")

    get_target_property(directory ${target} SOURCE_DIR)
    if(directory MATCHES "/window$" OR directory MATCHES "/src/shell$")
      message(FATAL_ERROR "The engine library ${target} is built in a window folder, ${directory}")
    endif()
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
      if(NOT source MATCHES "\\.cpp$")
        continue()
      endif()
      set(files "${directory}/${source}")
      string(REGEX REPLACE "\\.cpp$" ".h" header "${directory}/${source}")
      if(EXISTS "${header}")
        list(APPEND files "${header}")
      endif()
      foreach(file IN LISTS files)
        file(STRINGS "${file}" includes REGEX "^#include \"")
        foreach(include IN LISTS includes)
          string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" included "${include}")
          if(included MATCHES "(^|/)window/" OR included MATCHES "^shell/")
            message(FATAL_ERROR "${file} (engine library ${target}) includes the window header ${included}")
          endif()
        endforeach()
      endforeach()
    endforeach()
  endforeach()
endfunction()
