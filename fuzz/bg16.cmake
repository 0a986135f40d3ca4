vx_add_fuzzer(bg16 SOURCE ${CMAKE_CURRENT_LIST_DIR}/bg16_fuzz.cpp LIBS vximage)
