# Helpers for programs built on the engine, used both in the engine's tree and by the
# installed package (where the engine's libraries are the imported corvex:: targets).
include_guard(GLOBAL)

# corvex_program(TARGET SOURCES ... LINKS ... [PLATFORM x11|headless])
# An executable started by the runtime's process entry; PLATFORM picks the native layer
# that every platform-dependent module of the engine links against (x11 by default).
function(corvex_program target)
  cmake_parse_arguments(P "" "PLATFORM" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${P_SOURCES})
  target_link_libraries(${target} PRIVATE corvex::appstub ${P_LINKS})
  corvex_use_platform(${target} ${P_PLATFORM})
endfunction()

# Selects the platform layer for an executable (x11 when none is named).
function(corvex_use_platform target)
  set(platform x11)
  if(ARGC GREATER 1 AND ARGV1)
    set(platform ${ARGV1})
  endif()
  set_target_properties(${target} PROPERTIES CORVEX_PLATFORM ${platform})
endfunction()
