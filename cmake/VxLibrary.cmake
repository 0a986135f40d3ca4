# vx_add_library(<name> [QT] SOURCES <files...> HEADERS <public headers...>
#                [PUBLIC_LIBS <libs...>] [PRIVATE_LIBS <libs...>])
#
# Adds the shared library <name> and registers it, with its public headers,
# for installation in the Corvella package (target Corvella::<name>).
#
# The sources are compiled once, into the OBJECT library <name>_objects, from
# which the shared library is linked. Everything is compiled with hidden
# visibility, so the shared library exports only what its public headers mark
# with the library's export macro (<name>_export.h). The test suite of the
# library links <name>_objects instead of the shared library: it then reaches
# the internal helpers of the detail/ headers too, and runs the very objects
# that make up the shared library rather than a second build of them.
#
# HEADERS are installed under include/corvella/ at their place in the source
# tree, so that an installed "analyse/trees/regiontree.h" is included exactly
# as in the build tree. Headers in detail/ folders are internal: they are not
# listed and not installed. Other internal headers, such as most of vxgui's,
# go in SOURCES.
#
# QT: Qt's moc and rcc run on the objects (AUTOMOC, AUTORCC; .qrc files go in
# SOURCES, and so do internal headers that declare QObject classes). The
# public headers join the objects' sources so that moc sees them. The shared
# library, linked from those objects, generates nothing itself: a moc run of
# its own would define every meta-object a second time.
function(vx_add_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;HEADERS;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})

  add_library(${name}_objects OBJECT ${ARG_SOURCES})
  set_target_properties(${name}_objects PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(ARG_QT)
    target_sources(${name}_objects PRIVATE ${ARG_HEADERS})
    set_target_properties(${name}_objects PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
  target_include_directories(${name}_objects PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name}_objects PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})

  add_library(${name} SHARED $<TARGET_OBJECTS:${name}_objects>)
  target_sources(${name} PUBLIC FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR}
                 FILES ${ARG_HEADERS})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${VX_INSTALL_INCLUDEDIR}>)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})

  install(TARGETS ${name} EXPORT CorvellaTargets
    LIBRARY DESTINATION ${VX_INSTALL_LIBDIR}
    FILE_SET HEADERS DESTINATION ${VX_INSTALL_INCLUDEDIR})
endfunction()
