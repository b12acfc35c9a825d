# The installed package: the exported libraries as corvex::NAME, the helpers for
# programs (corvex_program, corvex_embed), a versioned CMake package and the pkg-config
# files corvex.pc (X11) and corvex-headless.pc. Everything is found relative to the
# installed files, so the prefix can be moved.
include(CMakePackageConfigHelpers)
set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/corvex)
install(EXPORT corvex-targets NAMESPACE corvex:: DESTINATION ${package_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/corvex-config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/corvex-config.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/corvex-config-version.cmake
  VERSION ${corvex_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/corvex-config.cmake ${CMAKE_CURRENT_BINARY_DIR}/corvex-config-version.cmake
              ${CMAKE_CURRENT_LIST_DIR}/CorvexProgram.cmake ${CMAKE_CURRENT_LIST_DIR}/CorvexEmbed.cmake
              ${CMAKE_CURRENT_LIST_DIR}/embed-file.cmake
        DESTINATION ${package_dir})

# pkg-config: the libraries of one platform inside one group, as static libraries refer
# to each other in both directions (the modules call the platform layer, which calls the
# runtime); the embedded blocks' objects, which nothing names, are linked by path. The
# libraries the engine's libraries use are required outright, as a static library does
# not carry them. Shared libraries are all kept, the platform's among them, which the
# program reaches only through the modules.
get_property(static_libraries GLOBAL PROPERTY CORVEX_INSTALLED_STATIC_LIBRARY)
get_property(shared_libraries GLOBAL PROPERTY CORVEX_INSTALLED_SHARED_LIBRARY)
set(libraries ${static_libraries} ${shared_libraries})
set(keep_all "")
if(shared_libraries)
  set(keep_all " -Wl,--no-as-needed")
endif()
get_property(objects GLOBAL PROPERTY CORVEX_INSTALLED_OBJECTS)
set(requires_headless "gl libpng libjpeg zlib")
set(requires_x11 "x11 xrandr xscrnsaver xkbcommon glx ${requires_headless}")
foreach(platform x11 headless)
  set(other headless)
  set(pc corvex)
  if(platform STREQUAL "headless")
    set(other x11)
    set(pc corvex-headless)
  endif()
  set(platform_libraries ${libraries})
  list(FILTER platform_libraries EXCLUDE REGEX "_${other}$")
  list(TRANSFORM platform_libraries PREPEND -l)
  list(JOIN platform_libraries " " libs)
  list(TRANSFORM objects PREPEND " \${libdir}/corvex/" OUTPUT_VARIABLE object_paths)
  list(JOIN object_paths "" object_paths)
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc CONTENT "prefix=\${pcfiledir}/../..
libdir=\${prefix}/${CMAKE_INSTALL_LIBDIR}
includedir=\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}

Name: ${pc}
Description: corvex 2D game engine, ${platform} platform (compile as C++20)
Version: ${corvex_VERSION}
Requires: ${requires_${platform}}
Cflags: -I\${includedir}/corvex
Libs: -L\${libdir}${keep_all} -Wl,--start-group ${libs} -Wl,--end-group${object_paths}
")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
