vx_add_fuzzer(analyze SOURCE ${CMAKE_CURRENT_LIST_DIR}/analyze_fuzz.cpp LIBS vximage)
