vx_add_fuzzer(rule_parser SOURCE ${CMAKE_CURRENT_LIST_DIR}/rule_parser_fuzz.cpp LIBS analyse)
