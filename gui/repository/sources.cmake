# Sources and internal headers of gui/repository, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/). The repository, query and
# classification dialogs add theirs here.
list(APPEND vxgui_sources
  repository/detail/browser_parts.cpp
  repository/detail/compare_form.cpp
  repository/detail/repository_images.cpp
  repository/qtvx_labeled_repository.cpp
  repository/qtvx_repository.cpp
  repository/vx_analyze_volume_export_dialog.cpp
  repository/vx_browse_query_result.cpp
  repository/vx_browse_repository.cpp
  repository/vx_class_export_dialog.cpp
  repository/vx_classification_view.cpp
  repository/vx_classification_view_exports.cpp
  repository/vx_compare_labeled_repository_dialog.cpp
  repository/vx_compare_repository_tree_dialog.cpp
  repository/vx_init_labeled_repository_dialog.cpp
  repository/vx_new_repository_dialog.cpp
  repository/vx_query_repository_dialog.cpp
  repository/vx_query_repository_dialog_run.cpp
  repository/vx_rurevudu_dialog.cpp
  repository/vx_select_regions_from_tree.cpp)
list(APPEND vxgui_internal_headers
  repository/qtvx_labeled_repository.h
  repository/qtvx_repository.h
  repository/vx_analyze_volume_export_dialog.h
  repository/vx_browse_query_result.h
  repository/vx_browse_repository.h
  repository/vx_class_export_dialog.h
  repository/vx_classification_view.h
  repository/vx_compare_labeled_repository_dialog.h
  repository/vx_compare_repository_tree_dialog.h
  repository/vx_init_labeled_repository_dialog.h
  repository/vx_new_repository_dialog.h
  repository/vx_query_repository_dialog.h
  repository/vx_rurevudu_dialog.h
  repository/vx_select_regions_from_tree.h)
