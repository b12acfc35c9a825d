# Build helpers shared by every module, test and program. Paths are taken from the
# engine's own root, so the engine also builds when another project adds it with
# add_subdirectory.
include_guard(GLOBAL)
get_filename_component(CORVEX_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CORVEX_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/corvex-include)

# corvex_module(NAME [SOURCES ...] [IMPORTS mod ...] [LIBS lib ...] [PREFIX dir]
#               [HEADERS h ...] [RECORDS rec ...])
#
# One library per engine module, target corvex_NAME, built from the calling folder.
# Its headers are reachable as "PREFIX/header.h" (PREFIX: the folder's name) only by
# targets that link it: the module gets an include folder of its own holding a link to
# each of its headers (HEADERS, by default every header of the folder; a bare HEADERS
# means none), remade at each configure so that it follows the sources. A module links
# the modules it IMPORTS publicly when one of its headers includes theirs and privately
# otherwise, so nothing reaches a module's headers through an import of an import. A
# module without SOURCES is headers only. RECORDS names the module records the library
# holds when they are not just NAME (corvex_RECORD is then another name of the library).
function(corvex_module name)
  cmake_parse_arguments(M "" "PREFIX" "SOURCES;IMPORTS;LIBS;HEADERS;RECORDS" ${ARGN})
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT M_PREFIX)
    get_filename_component(M_PREFIX ${dir} NAME)
  endif()
  if(NOT M_HEADERS AND NOT "HEADERS" IN_LIST M_KEYWORDS_MISSING_VALUES)
    file(GLOB M_HEADERS CONFIGURE_DEPENDS RELATIVE ${dir} ${dir}/*.h)
  endif()

  set(inc ${CORVEX_INCLUDE_ROOT}/${name})
  file(REMOVE_RECURSE ${inc})
  file(MAKE_DIRECTORY ${inc}/${M_PREFIX})
  set(headers "")
  set(included "")
  foreach(header ${M_HEADERS})
    file(CREATE_LINK ${dir}/${header} ${inc}/${M_PREFIX}/${header} SYMBOLIC)
    list(APPEND headers ${M_PREFIX}/${header})
    file(STRINGS ${dir}/${header} lines REGEX "^#include \"[a-z0-9_/]+\.h\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" path "${line}")
      list(APPEND included ${path})
    endforeach()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${M_HEADERS})

  if(M_SOURCES)
    add_library(corvex_${name} STATIC ${M_SOURCES})
    target_include_directories(corvex_${name} PUBLIC ${inc})
    target_compile_features(corvex_${name} PUBLIC cxx_std_20)
    target_link_libraries(corvex_${name} PUBLIC ${M_LIBS})
  else()
    add_library(corvex_${name} INTERFACE)
    target_include_directories(corvex_${name} INTERFACE ${inc})
    target_compile_features(corvex_${name} INTERFACE cxx_std_20)
    target_link_libraries(corvex_${name} INTERFACE ${M_LIBS})
  endif()
  foreach(record ${M_RECORDS})
    if(NOT record STREQUAL name)
      add_library(corvex_${record} ALIAS corvex_${name})
    endif()
  endforeach()

  set_property(GLOBAL APPEND PROPERTY CORVEX_MODULES ${name})
  set_property(GLOBAL PROPERTY CORVEX_DIR_${name} ${dir})
  list(TRANSFORM M_SOURCES PREPEND ${dir}/ REGEX "^[^/]")
  set_property(GLOBAL PROPERTY CORVEX_SOURCES_${name} ${M_SOURCES})
  set_property(GLOBAL PROPERTY CORVEX_HEADERS_${name} ${headers})
  set_property(GLOBAL PROPERTY CORVEX_INCLUDED_${name} ${included})
  set_property(GLOBAL PROPERTY CORVEX_IMPORTS_${name} ${M_IMPORTS})
  get_property(deferred GLOBAL PROPERTY CORVEX_LINK_DEFERRED)
  if(NOT deferred)
    set_property(GLOBAL PROPERTY CORVEX_LINK_DEFERRED ON)
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL corvex_link_modules)
  endif()
endfunction()

# Links every module with its imports once all are known (at the end of the top-level
# folder): publicly when one of its headers includes a header of the import, privately
# otherwise. Then writes the manifest that the include check reads.
function(corvex_link_modules)
  get_property(modules GLOBAL PROPERTY CORVEX_MODULES)
  set(manifest "")
  foreach(name ${modules})
    get_property(included GLOBAL PROPERTY CORVEX_INCLUDED_${name})
    get_property(imports GLOBAL PROPERTY CORVEX_IMPORTS_${name})
    get_target_property(type corvex_${name} TYPE)
    foreach(import ${imports})
      get_property(import_headers GLOBAL PROPERTY CORVEX_HEADERS_${import})
      set(scope PRIVATE)
      if(type STREQUAL "INTERFACE_LIBRARY")
        set(scope INTERFACE)
      else()
        foreach(header ${import_headers})
          if(header IN_LIST included)
            set(scope PUBLIC)
          endif()
        endforeach()
      endif()
      target_link_libraries(corvex_${name} ${scope} corvex_${import})
    endforeach()
    get_property(dir GLOBAL PROPERTY CORVEX_DIR_${name})
    get_property(headers GLOBAL PROPERTY CORVEX_HEADERS_${name})
    get_property(sources GLOBAL PROPERTY CORVEX_SOURCES_${name})
    string(APPEND manifest "module ${name} ${dir}\nheaders ${name} ${headers}\n"
                           "sources ${name} ${sources}\nimports ${name} ${imports}\n")
  endforeach()
  string(REPLACE ";" " " manifest "${manifest}")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/corvex-modules.txt CONTENT "${manifest}" @ONLY)
endfunction()

# corvex_program(TARGET SOURCES ... LINKS ... [PLATFORM x11|headless] [DEBUGGER])
# An executable started by the runtime's process entry; PLATFORM picks the native layer
# that every platform-dependent module of the engine links against (x11 by default).
# DEBUGGER starts the debugger (engine/debugger) right after the runtime.
function(corvex_program target)
  cmake_parse_arguments(P "DEBUGGER" "PLATFORM" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${P_SOURCES})
  if(P_DEBUGGER)
    target_link_libraries(${target} PRIVATE corvex_appstub_debugger ${P_LINKS})
  else()
    target_link_libraries(${target} PRIVATE corvex_appstub ${P_LINKS})
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
endfunction()

# corvex_test(NAME SOURCES ... LINKS ... [LABEL unit|x11|replay] [PLATFORM ...] [SERIAL]
#             [ENVIRONMENT VAR=value ...])
# A GoogleTest executable registered with CTest under the label (unit by default).
# SERIAL runs it alone (tests that move the shared pointer or focus).
# Nothing is built when CORVEX_TESTS is off (the fuzzing build).
function(corvex_test name)
  cmake_parse_arguments(T "SERIAL" "LABEL;PLATFORM" "SOURCES;LINKS;ENVIRONMENT" ${ARGN})
  if(NOT CORVEX_TESTS)
    return()
  endif()
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${T_LINKS})
  target_include_directories(${name} PRIVATE ${CORVEX_ROOT}/tests)
  corvex_use_platform(${name} ${T_PLATFORM})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES LABELS ${T_LABEL} TIMEOUT 300 RUN_SERIAL ${T_SERIAL})
  if(T_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
endfunction()

# corvex_fuzzer(NAME SOURCES ... LINKS ... [SEEDS dir])
# A libFuzzer target, built only with CORVEX_FUZZ; CTest runs it for a short time
# (CORVEX_FUZZ_SECONDS, 20 by default) under the fuzz label. The run starts from a
# fixed seed (CORVEX_FUZZ_SEED, 1 by default; 0 picks one at random), so a CI run
# repeats the first part of a longer run made with the same seed.
function(corvex_fuzzer name)
  cmake_parse_arguments(F "" "SEEDS" "SOURCES;LINKS" ${ARGN})
  if(NOT CORVEX_FUZZ)
    return()
  endif()
  if(NOT DEFINED CORVEX_FUZZ_SECONDS)
    set(CORVEX_FUZZ_SECONDS 20)
  endif()
  if(NOT DEFINED CORVEX_FUZZ_SEED)
    set(CORVEX_FUZZ_SEED 1)
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LINKS})
  target_include_directories(${name} PRIVATE ${CORVEX_ROOT}/tests)
  corvex_use_platform(${name} headless)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${corpus})
  set(dirs ${corpus})
  if(F_SEEDS)
    list(APPEND dirs ${F_SEEDS})
  endif()
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${CORVEX_FUZZ_SECONDS} -seed=${CORVEX_FUZZ_SEED} -rss_limit_mb=2048
                   -timeout=10 -print_final_stats=1 ${dirs})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/CorvexEmbed.cmake)
