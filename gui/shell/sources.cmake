# Sources, internal and public headers of gui/shell, appended to the
# lists of gui/CMakeLists.txt (paths relative to gui/).
list(APPEND vxgui_sources
  shell/detail/about_window.cpp
  shell/detail/rules_help.cpp
  shell/resources/about.qrc
  shell/vx_main_window.cpp)
list(APPEND vxgui_headers
  shell/vx_main_window.h)

set_property(SOURCE shell/detail/about_window.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS VX_VERSION="${PROJECT_VERSION}")
