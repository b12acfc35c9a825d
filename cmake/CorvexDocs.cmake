# The API reference: doxygen over the headers the engine installs (and nothing else),
# with the settings of docs/Doxyfile, written to build/docs/api. Target `docs` when
# doxygen is found; the docs test runs the same with warnings as errors.
find_package(Doxygen QUIET)
set(CORVEX_DOCS_DIR ${CMAKE_BINARY_DIR}/docs)
get_property(headers GLOBAL PROPERTY CORVEX_INSTALLED_HEADERS)
list(SORT headers)
list(JOIN headers " \\\n                         " input)
file(MAKE_DIRECTORY ${CORVEX_DOCS_DIR}/api)
# docs/Doxyfile names its paths from the top of the tree, where doxygen runs.
file(WRITE ${CORVEX_DOCS_DIR}/Doxyfile "@INCLUDE = ${CORVEX_ROOT}/docs/Doxyfile
INPUT                 += ${input}
OUTPUT_DIRECTORY       = ${CORVEX_DOCS_DIR}/api
")
file(WRITE ${CORVEX_DOCS_DIR}/Doxyfile.check "@INCLUDE = ${CORVEX_DOCS_DIR}/Doxyfile
WARN_AS_ERROR          = FAIL_ON_WARNINGS
")
if(DOXYGEN_FOUND)
  add_custom_target(docs COMMAND ${DOXYGEN_EXECUTABLE} ${CORVEX_DOCS_DIR}/Doxyfile
                    WORKING_DIRECTORY ${CORVEX_ROOT}
                    COMMENT "API reference in ${CORVEX_DOCS_DIR}/api/html/index.html" VERBATIM)
endif()
