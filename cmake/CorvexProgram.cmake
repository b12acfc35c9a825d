# Helpers for programs built on the engine, used both in the engine's tree and by the
# installed package (where the engine's libraries are the imported corvex:: targets).
include_guard(GLOBAL)

# corvex_program(TARGET SOURCES ... LINKS ... [PLATFORM x11|headless] [DEBUGGER])
# An executable started by the runtime's process entry; PLATFORM picks the native layer
# that every platform-dependent module of the engine links against (x11 by default).
# DEBUGGER starts the debugger (engine/debugger) right after the runtime.
function(corvex_program target)
  cmake_parse_arguments(P "DEBUGGER" "PLATFORM" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${P_SOURCES})
  if(P_DEBUGGER)
    target_link_libraries(${target} PRIVATE corvex::appstub_debugger ${P_LINKS})
  else()
    target_link_libraries(${target} PRIVATE corvex::appstub ${P_LINKS})
  endif()
  corvex_use_platform(${target} ${P_PLATFORM})
endfunction()

# Compiles the sources of TARGET with the debug instrumentation (runtime/debug.h): its
# scopes, variables and statements then report to the debug hooks.
function(corvex_instrument target)
  target_compile_definitions(${target} PRIVATE CORVEX_DEBUG)
endfunction()

# Selects the platform layer for an executable (x11 when none is named).
function(corvex_use_platform target)
  set(platform x11)
  if(ARGC GREATER 1 AND ARGV1)
    set(platform ${ARGV1})
  endif()
  set_target_properties(${target} PROPERTIES CORVEX_PLATFORM ${platform})
  # Named by the program as well, for shared libraries: a module that reaches the
  # platform only through another module's private import passes nothing on to it.
  target_link_libraries(${target} PRIVATE corvex::platform_${platform} corvex::platformdraw2d_${platform})
endfunction()
