vx_add_fuzzer(png SOURCE ${CMAKE_CURRENT_LIST_DIR}/png_fuzz.cpp LIBS vximage)
