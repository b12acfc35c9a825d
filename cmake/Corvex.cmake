# Build helpers shared by every module, test and program. Paths are taken from the
# engine's own root, so the engine also builds when another project adds it with
# add_subdirectory.
include_guard(GLOBAL)
get_filename_component(CORVEX_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CORVEX_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/corvex-include)
include(GNUInstallDirs)
# Installed headers keep the include paths of the tree ("draw2d/draw2d.h") below this
# folder, which the installed package and corvex.pc put on the include path.
set(CORVEX_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/corvex)

# corvex_module(NAME [SOURCES ...] [IMPORTS mod ...] [LIBS lib ...] [PREFIX dir]
#               [HEADERS h ...] [RECORDS rec ...] [STATIC])
#
# One library per engine module, target corvex_NAME, built from the calling folder:
# static, or shared with BUILD_SHARED_LIBS unless STATIC is given.
# Its headers are reachable as "PREFIX/header.h" (PREFIX: the folder's name) only by
# targets that link it: the module gets an include folder of its own holding a link to
# each of its headers (HEADERS, by default every header of the folder; a bare HEADERS
# means none), remade at each configure so that it follows the sources. A module links
# the modules it IMPORTS publicly when one of its headers includes theirs and privately
# otherwise, so nothing reaches a module's headers through an import of an import. A
# module without SOURCES is headers only. RECORDS names the module records the library
# holds when they are not just NAME (corvex_RECORD is then another name of the library).
# Every module is also corvex::NAME; the engine's own modules are installed with their
# headers and exported under that name.
function(corvex_module name)
  cmake_parse_arguments(M "STATIC" "PREFIX" "SOURCES;IMPORTS;LIBS;HEADERS;RECORDS" ${ARGN})
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

  set(scope PUBLIC)
  if(M_SOURCES AND M_STATIC)
    add_library(corvex_${name} STATIC ${M_SOURCES})
  elseif(M_SOURCES)
    add_library(corvex_${name} ${M_SOURCES})
  else()
    add_library(corvex_${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(corvex_${name} ${scope} $<BUILD_INTERFACE:${inc}>
                                                     $<INSTALL_INTERFACE:${CORVEX_INSTALL_INCLUDEDIR}>)
  target_compile_features(corvex_${name} ${scope} cxx_std_20)
  target_link_libraries(corvex_${name} ${scope} ${M_LIBS})
  set_target_properties(corvex_${name} PROPERTIES EXPORT_NAME ${name})
  add_library(corvex::${name} ALIAS corvex_${name})
  string(FIND "${dir}/" "${CORVEX_ROOT}/engine/" in_engine)
  if(in_engine EQUAL 0)
    corvex_shared_library(corvex_${name})
    corvex_install(corvex_${name})
    list(TRANSFORM M_HEADERS PREPEND ${dir}/ OUTPUT_VARIABLE header_files)
    install(FILES ${header_files} DESTINATION ${CORVEX_INSTALL_INCLUDEDIR}/${M_PREFIX})
    set_property(GLOBAL APPEND PROPERTY CORVEX_INSTALLED_HEADERS ${header_files})
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

# A shared module library: versioned (its name carries major.minor, as the interface
# may change between minor versions before 1.0), finding the others beside it once
# installed, and exporting only the engine's own namespace; what the library holds
# beside it (helpers, the standard library's template instances) stays inside.
function(corvex_shared_library target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set_target_properties(${target} PROPERTIES VERSION ${corvex_VERSION}
                                               SOVERSION ${corvex_VERSION_MAJOR}.${corvex_VERSION_MINOR}
                                               INSTALL_RPATH "$ORIGIN")
    target_link_options(${target} PRIVATE LINKER:--version-script=${CORVEX_ROOT}/cmake/exports.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CORVEX_ROOT}/cmake/exports.map)
  endif()
endfunction()

# Installs an engine library into the exported set of the package.
function(corvex_install target)
  install(TARGETS ${target} EXPORT corvex-targets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          OBJECTS DESTINATION ${CMAKE_INSTALL_LIBDIR}/corvex)
  set_target_properties(${target} PROPERTIES CORVEX_INSTALLED ON)
  get_target_property(type ${target} TYPE)
  set_property(GLOBAL APPEND PROPERTY CORVEX_INSTALLED_${type} ${target})
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

include(${CMAKE_CURRENT_LIST_DIR}/CorvexProgram.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/CorvexEmbed.cmake)
