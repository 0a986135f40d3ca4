# Warning and instrumentation flags shared by every target of the project.
add_compile_options(-Wall -Wextra)
# GCC's cheapest vectoriser cost model (its -O2 default) leaves every loop of
# unknown trip count scalar, which are all the per-pixel loops.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-fvect-cost-model=dynamic)
endif()
if(VX_WERROR)
  add_compile_options(-Werror)
endif()

if(VX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VX_FUZZ needs clang (configure with CXX=clang++ CC=clang)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
