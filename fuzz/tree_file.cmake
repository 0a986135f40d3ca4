vx_add_fuzzer(tree_file SOURCE ${CMAKE_CURRENT_LIST_DIR}/tree_file_fuzz.cpp LIBS analyse)
