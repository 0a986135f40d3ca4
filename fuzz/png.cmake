vx_add_fuzzer(png SOURCE ${CMAKE_CURRENT_LIST_DIR}/png_fuzz.cpp LIBS vximage)
if(VX_FUZZ)
  # Lets the PNG reader decode chunks whose checksums the fuzzer has broken.
  target_compile_definitions(vximage PRIVATE FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
endif()
