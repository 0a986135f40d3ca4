# Sources and public headers of gui/foundation, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/).
list(APPEND vxgui_sources
  foundation/detail/display_palettes.cpp
  foundation/dialog_service.cpp
  foundation/equalize_image.cpp
  foundation/grey_conversion.cpp
  foundation/gui_exit.cpp
  foundation/image_loading.cpp
  foundation/image_writing.cpp
  foundation/qimage_frame.cpp
  foundation/qimage_frame_display.cpp
  foundation/qimage_frame_files.cpp
  foundation/qimage_frame_input.cpp
  foundation/qimage_frame_zoom.cpp
  foundation/scripted_dialogs.cpp
  foundation/text_files.cpp
  foundation/vx_analyse_signals.cpp
  foundation/vx_base_dialog.cpp
  foundation/vx_base_paths.cpp
  foundation/vx_dual_tree_progress.cpp
  foundation/vx_edit_dialog.cpp
  foundation/vx_image_file_formats.cpp
  foundation/vx_image_io.cpp
  foundation/vx_message_popup.cpp
  foundation/window_flags.cpp)
list(APPEND vxgui_headers
  foundation/dialog_service.h
  foundation/equalize_image.h
  foundation/grey_conversion.h
  foundation/gui_exit.h
  foundation/image_loading.h
  foundation/image_writing.h
  foundation/qimage_frame.h
  foundation/scripted_dialogs.h
  foundation/text_files.h
  foundation/vx_analyse_signals.h
  foundation/vx_base_dialog.h
  foundation/vx_base_paths.h
  foundation/vx_dual_tree_progress.h
  foundation/vx_edit_dialog.h
  foundation/vx_image_file_formats.h
  foundation/vx_image_io.h
  foundation/vx_message_popup.h
  foundation/window_flags.h)
