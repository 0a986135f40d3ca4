# Sources and public headers of gui/analysis, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/).
list(APPEND vxgui_sources
  analysis/detail/about_window.cpp
  analysis/detail/rules_help.cpp
  analysis/resources/about.qrc
  analysis/vx_main_window.cpp)
list(APPEND vxgui_headers
  analysis/vx_main_window.h)

set_property(SOURCE analysis/detail/about_window.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS VX_VERSION="${PROJECT_VERSION}")
