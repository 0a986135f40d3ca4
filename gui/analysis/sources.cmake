# Sources and internal headers of gui/analysis, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/).
list(APPEND vxgui_sources
  analysis/detail/tree_files.cpp
  analysis/sketch_help.cpp
  analysis/vx_analyse_compute_tree.cpp
  analysis/vx_analyse_contour_fds.cpp
  analysis/vx_analyse_control.cpp
  analysis/vx_analyse_control_display.cpp
  analysis/vx_analyse_control_editor.cpp
  analysis/vx_analyse_control_files.cpp
  analysis/vx_analyse_control_selection.cpp
  analysis/vx_analyse_control_trees.cpp
  analysis/vx_analyse_main_dialog.cpp
  analysis/vx_analyse_main_dialog_exports.cpp
  analysis/vx_analyse_main_dialog_rules.cpp
  analysis/vx_analyse_main_dialog_sketch.cpp
  analysis/vx_analyse_scales.cpp
  analysis/vx_draw_region.cpp
  analysis/vx_draw_region_files.cpp
  analysis/vx_draw_region_paint.cpp
  analysis/vx_draw_region_regions.cpp
  analysis/vx_new_project_dialog.cpp
  analysis/vx_new_project_dialog_start.cpp)
list(APPEND vxgui_internal_headers
  analysis/sketch_help.h
  analysis/vx_analyse_compute_tree.h
  analysis/vx_analyse_contour_fds.h
  analysis/vx_analyse_control.h
  analysis/vx_analyse_main_dialog.h
  analysis/vx_analyse_scales.h
  analysis/vx_draw_region.h
  analysis/vx_new_project_dialog.h)

