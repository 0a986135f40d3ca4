# Corvella::vximage, Corvella::filter and Corvella::analyse. Each carries the
# include path of the installed headers and links the libraries below it, so
# linking Corvella::analyse alone is enough to use all three.
include("${CMAKE_CURRENT_LIST_DIR}/CorvellaTargets.cmake")
