# Sources and public headers of gui/analysis, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/).
list(APPEND vxgui_sources)
list(APPEND vxgui_headers)
