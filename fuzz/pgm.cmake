vx_add_fuzzer(pgm SOURCE ${CMAKE_CURRENT_LIST_DIR}/pgm_fuzz.cpp LIBS vximage)
