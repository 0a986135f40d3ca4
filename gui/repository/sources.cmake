# Sources and public headers of gui/repository, appended to the lists of
# gui/CMakeLists.txt (paths relative to gui/). The repository, query and
# classification dialogs add theirs here.
list(APPEND vxgui_sources
  repository/detail/repository_images.cpp
  repository/qtvx_labeled_repository.cpp
  repository/qtvx_repository.cpp)
list(APPEND vxgui_headers
  repository/qtvx_labeled_repository.h
  repository/qtvx_repository.h)
