# Helpers that assemble the library from per-folder object libraries.
#
# feldrin_add_module(<name> SOURCES ... [LIBRARIES ...] [NOT_IN_DEMO])
#   Builds <name> as an object library whose objects go into libfeldrin.so. LIBRARIES are the outside
#   libraries those objects need; they are linked into every target made from the objects. NOT_IN_DEMO
#   keeps the module out of the demonstration program's own copy of the library.
# feldrin_create_library()
#   Makes the shared library `feldrin` and the static copy `feldrin_demo` used by the demonstration program.
# feldrin_install()
#   Installs the library, its headers, the CMake package Feldrin and the pkg-config file feldrin.pc.

set(FELDRIN_HEADER_DIRS "" CACHE INTERNAL "")

function(feldrin_add_module name)
  cmake_parse_arguments(M "NOT_IN_DEMO" "" "SOURCES;LIBRARIES" ${ARGN})
  add_library(${name} OBJECT ${M_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(M_LIBRARIES)
    target_link_libraries(${name} PUBLIC ${M_LIBRARIES})
  endif()
  set_property(GLOBAL APPEND PROPERTY FELDRIN_MODULES ${name})
  if(NOT M_NOT_IN_DEMO)
    set_property(GLOBAL APPEND PROPERTY FELDRIN_DEMO_MODULES ${name})
  endif()
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set_property(GLOBAL APPEND PROPERTY FELDRIN_HEADER_DIRS ${rel})
endfunction()

function(_feldrin_collect target modules)
  foreach(m ${modules})
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:${m}>)
    get_target_property(libs ${m} INTERFACE_LINK_LIBRARIES)
    if(libs)
      target_link_libraries(${target} PRIVATE ${libs})
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/feldrin>)
endfunction()

function(feldrin_create_library)
  get_property(modules GLOBAL PROPERTY FELDRIN_MODULES)
  get_property(demo_modules GLOBAL PROPERTY FELDRIN_DEMO_MODULES)
  add_library(feldrin SHARED)
  _feldrin_collect(feldrin "${modules}")
  set_target_properties(feldrin PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION 1)
  add_library(Feldrin::feldrin ALIAS feldrin)

  # The demonstration program links its own copy of the library, as plain objects so that nothing is dropped.
  add_library(feldrin_demo INTERFACE)
  foreach(m ${demo_modules})
    target_sources(feldrin_demo INTERFACE $<TARGET_OBJECTS:${m}>)
    get_target_property(libs ${m} INTERFACE_LINK_LIBRARIES)
    if(libs)
      target_link_libraries(feldrin_demo INTERFACE ${libs})
    endif()
  endforeach()
  target_include_directories(feldrin_demo INTERFACE ${PROJECT_SOURCE_DIR})
endfunction()

function(feldrin_install)
  include(CMakePackageConfigHelpers)
  install(TARGETS feldrin EXPORT FeldrinTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/Feldrin.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/feldrin)
  get_property(dirs GLOBAL PROPERTY FELDRIN_HEADER_DIRS)
  foreach(d ${dirs})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${d}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/feldrin/${d}
      FILES_MATCHING PATTERN "*.h")
  endforeach()
  install(EXPORT FeldrinTargets NAMESPACE Feldrin:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Feldrin)
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/FeldrinConfig.cmake.in
    ${PROJECT_BINARY_DIR}/FeldrinConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Feldrin)
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/FeldrinConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/FeldrinConfig.cmake ${PROJECT_BINARY_DIR}/FeldrinConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Feldrin)
  # The pkg-config file finds the prefix from its own place, so an installed tree may be moved.
  file(RELATIVE_PATH PC_PREFIX_FROM_PCDIR /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/feldrin.pc.in ${PROJECT_BINARY_DIR}/feldrin.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/feldrin.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()
