vx_add_fuzzer(vector_file SOURCE ${CMAKE_CURRENT_LIST_DIR}/vector_file_fuzz.cpp LIBS analyse)
