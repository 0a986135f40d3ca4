# Corvella::vximage, Corvella::filter, Corvella::analyse,
# Corvella::automation and Corvella::vxgui. Each carries the include path of
# the installed headers and links the libraries below it, so linking
# Corvella::vxgui alone is enough to use all five. The GUI library needs Qt 6
# Widgets, which is looked up here.
include(CMakeFindDependencyMacro)
find_dependency(Qt6 6.4 COMPONENTS Widgets)
include("${CMAKE_CURRENT_LIST_DIR}/CorvellaTargets.cmake")
