# Corvella::vximage, Corvella::filter, Corvella::analyse and
# Corvella::automation. Each carries the include path of the installed
# headers and links the libraries below it, so linking Corvella::automation
# alone is enough to use all four.
include("${CMAKE_CURRENT_LIST_DIR}/CorvellaTargets.cmake")
