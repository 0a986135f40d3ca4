# Sources and public headers of gui/analysis, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/).
list(APPEND vxgui_sources
  analysis/detail/about_window.cpp
  analysis/detail/analysis_files.cpp
  analysis/detail/form_widgets.cpp
  analysis/detail/project_file.cpp
  analysis/detail/rules_help.cpp
  analysis/detail/sketch_help.cpp
  analysis/resources/about.qrc
  analysis/vx_analyse_compute_tree.cpp
  analysis/vx_analyse_contour_fds.cpp
  analysis/vx_analyse_control.cpp
  analysis/vx_analyse_control_display.cpp
  analysis/vx_analyse_control_files.cpp
  analysis/vx_analyse_control_selection.cpp
  analysis/vx_analyse_control_trees.cpp
  analysis/vx_analyse_scales.cpp
  analysis/vx_draw_region.cpp
  analysis/vx_draw_region_files.cpp
  analysis/vx_draw_region_paint.cpp
  analysis/vx_draw_region_regions.cpp
  analysis/vx_main_window.cpp
  analysis/vx_new_project_dialog.cpp
  analysis/vx_new_project_dialog_start.cpp)
list(APPEND vxgui_headers
  analysis/vx_analyse_compute_tree.h
  analysis/vx_analyse_contour_fds.h
  analysis/vx_analyse_control.h
  analysis/vx_analyse_scales.h
  analysis/vx_draw_region.h
  analysis/vx_main_window.h
  analysis/vx_new_project_dialog.h
  analysis/vx_project_names.h)

set_property(SOURCE analysis/detail/about_window.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS VX_VERSION="${PROJECT_VERSION}")
