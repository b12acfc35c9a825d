# Build helpers shared by every module, test and program.

# corvex_module(NAME SOURCES ... [IMPORTS mod ...] [LIBS lib ...])
#
# One static library per engine module, target corvex_NAME. Its headers are reachable as
# "NAME/header.h" only by targets that link it: each module publishes an include folder
# holding a single link to its own source folder, so including a header of a module that
# is not imported fails to compile.
function(corvex_module name)
  cmake_parse_arguments(M "" "DIR" "SOURCES;IMPORTS;LIBS" ${ARGN})
  if(NOT M_DIR)
    set(M_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(inc ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${inc})
  get_filename_component(leaf ${M_DIR} NAME)
  if(NOT EXISTS ${inc}/${leaf})
    file(CREATE_LINK ${M_DIR} ${inc}/${leaf} SYMBOLIC)
  endif()
  add_library(corvex_${name} STATIC ${M_SOURCES})
  target_include_directories(corvex_${name} PUBLIC ${inc})
  list(TRANSFORM M_IMPORTS PREPEND corvex_)
  target_link_libraries(corvex_${name} PUBLIC ${M_IMPORTS} ${M_LIBS})
endfunction()

# corvex_program(TARGET SOURCES ... LINKS ... [PLATFORM x11|headless])
# An executable started by the runtime's process entry; PLATFORM picks the native layer
# that every platform-dependent module of the engine links against (x11 by default).
function(corvex_program target)
  cmake_parse_arguments(P "" "PLATFORM" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${P_SOURCES})
  target_link_libraries(${target} PRIVATE corvex_appstub ${P_LINKS})
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
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
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
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
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
