# One library per subsystem, so that the build itself keeps the layers apart:
#
#   averlune_<name>      the subsystem's portable files, built for the host and for Windows
#   averlune_<name>_win  its Windows edge (Windows builds only)
#
# Each links its own portable part and the subsystems directly below it, nothing above. Static
# libraries are searched once, in the order of these links, so a call from a lower library into a
# higher one finds no definition when a program or test is linked. scripts/check-layers.py checks
# the includes (and header-only back-edges, which a linker cannot see); the build runs it too.

# A static library of `sources`, or an interface library when the subsystem has no such files yet.
function(averlune_library target sources)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# target_link_libraries with the scope an averlune_library target needs.
function(averlune_link target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${target} INTERFACE ${ARGN})
  else()
    target_link_libraries(${target} PUBLIC ${ARGN})
  endif()
endfunction()

# averlune_subsystem(<name> [BELOW <subsystem>...])
function(averlune_subsystem name)
  cmake_parse_arguments(arg "" "" "BELOW" ${ARGN})
  averlune_sources(portable LOGIC ${name})
  averlune_library(averlune_${name} "${portable}")
  if(portable)
    target_compile_options(averlune_${name} PRIVATE -Wpedantic)
  endif()
  foreach(below IN LISTS arg_BELOW)
    averlune_link(averlune_${name} averlune_${below})
  endforeach()
  if(WIN32)
    averlune_sources(edge WIN ${name})
    averlune_library(averlune_${name}_win "${edge}")
    averlune_link(averlune_${name}_win averlune_${name})
    foreach(below IN LISTS arg_BELOW)
      averlune_link(averlune_${name}_win averlune_${below}_win)
    endforeach()
  endif()
endfunction()
