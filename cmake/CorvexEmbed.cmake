# corvex_embed(TARGET NAME name FILE file)
#
# Embeds the bytes of file in TARGET under name, readable as "incbin::name". The file
# becomes a generated source holding a byte array and one record of the program's
# table of embedded blocks. For a library (an engine module) the generated object is
# handed to every program that links the library, so the record is always linked even
# though nothing refers to it by symbol, and lies in the program's own table even when
# the library is shared. The 2D module embeds its default font with
#   corvex_embed(corvex_draw2d NAME veskfont.bin FILE ${CMAKE_CURRENT_BINARY_DIR}/veskfont.bin)
# and finds it with FindIncbin("veskfont.bin"); ReadStream("incbin::veskfont.bin") would
# open it as a stream.
function(corvex_embed target)
  cmake_parse_arguments(E "" "NAME;FILE" "" ${ARGN})
  if(NOT E_NAME OR NOT E_FILE)
    message(FATAL_ERROR "corvex_embed(${target}): NAME and FILE are required")
  endif()
  get_filename_component(file ${E_FILE} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  string(MAKE_C_IDENTIFIER "${target}_${E_NAME}" id)
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed-file.cmake)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/corvex_embed/${id}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${out} -DNAME=${E_NAME} -P ${script}
    DEPENDS ${file} ${script}
    COMMENT "Embedding ${E_NAME}"
    VERBATIM)
  get_target_property(type ${target} TYPE)
  if(type MATCHES "^(STATIC|SHARED)_LIBRARY$")
    # Named corvex::... in the expression, a name that holds here and in the installed
    # package alike.
    add_library(${id}_embed OBJECT ${out})
    add_library(corvex::${id}_embed ALIAS ${id}_embed)
    target_link_libraries(${id}_embed PRIVATE corvex::incbin)
    target_link_libraries(${target} INTERFACE corvex::incbin "$<TARGET_OBJECTS:corvex::${id}_embed>")
    add_dependencies(${target} ${id}_embed)
    get_target_property(installed ${target} CORVEX_INSTALLED)
    if(installed)
      corvex_install(${id}_embed)
      set_property(GLOBAL APPEND PROPERTY CORVEX_INSTALLED_OBJECTS
                   objects-$<CONFIG>/${id}_embed/corvex_embed/${id}.cpp.o)
    endif()
  else()
    target_sources(${target} PRIVATE ${out})
    target_link_libraries(${target} PRIVATE corvex::incbin)
  endif()
endfunction()
