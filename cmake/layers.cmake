# SPDX-License-Identifier: GPL-3.0-or-later
# The layers, lowest first, and the library of each:
#   core (lorvane_core) <- ui <- calc, manage <- shell <- program
# One folder per library: a file belongs to the layer of the folder it stands
# in (src/core/*, src/ui, src/calc, src/manage, src/shell; src/cli and
# src/main.cpp are the programs). A file may include headers of its own layer
# and of lower ones; calc and manage are side by side and include nothing of
# each other's.
# The check runs as the test "Layers" (cmake/check_layers.cmake).
set(lorvane_layers core ui calc manage shell program)
set(lorvane_layer_rank_core 0)
set(lorvane_layer_rank_ui 1)
set(lorvane_layer_rank_calc 2)
set(lorvane_layer_rank_manage 2)
set(lorvane_layer_rank_shell 3)
set(lorvane_layer_rank_program 4)

# What the check reads: every library's sources and the libraries it links.
function(lorvane_write_layers file)
  set(text "# Written by cmake/layers.cmake at configure time.\n")
  foreach(layer core ui calc manage shell)
    get_target_property(sources lorvane_${layer} SOURCES)
    get_target_property(dir lorvane_${layer} SOURCE_DIR)
    set(absolute)
    foreach(s ${sources})
      get_filename_component(a "${s}" ABSOLUTE BASE_DIR "${dir}")
      list(APPEND absolute "${a}")
    endforeach()
    get_target_property(links lorvane_${layer} LINK_LIBRARIES)
    string(APPEND text "set(sources_${layer} \"${absolute}\")\nset(links_${layer} \"${links}\")\n")
  endforeach()
  foreach(program lorvane lorvane-calc)
    get_target_property(links ${program} LINK_LIBRARIES)
    string(APPEND text "set(links_${program} \"${links}\")\n")
  endforeach()
  file(WRITE "${file}" "${text}")
endfunction()
