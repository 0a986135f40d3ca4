# Sources and public headers of gui/repository, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/). The repository, query and
# classification dialogs add theirs here.
list(APPEND vxgui_sources)
list(APPEND vxgui_headers)
