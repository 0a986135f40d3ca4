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

# Instrumentation flags are kept in VX_INSTRUMENT_COMPILE_FLAGS and
# VX_INSTRUMENT_LINK_FLAGS as well, for programs built outside the project
# against its libraries (the package test).
set(VX_INSTRUMENT_COMPILE_FLAGS "")
set(VX_INSTRUMENT_LINK_FLAGS "")
if(VX_SANITIZE)
  list(APPEND VX_INSTRUMENT_COMPILE_FLAGS -fsanitize=address,undefined
       -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  list(APPEND VX_INSTRUMENT_LINK_FLAGS -fsanitize=address,undefined)
endif()

option(VX_TSAN "Build everything with ThreadSanitizer" OFF)
if(VX_TSAN)
  if(VX_SANITIZE OR VX_FUZZ)
    message(FATAL_ERROR "VX_TSAN cannot be combined with VX_SANITIZE or VX_FUZZ")
  endif()
  list(APPEND VX_INSTRUMENT_COMPILE_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
  list(APPEND VX_INSTRUMENT_LINK_FLAGS -fsanitize=thread)
endif()

if(VX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VX_FUZZ needs clang (configure with CXX=clang++ CC=clang)")
  endif()
  list(APPEND VX_INSTRUMENT_COMPILE_FLAGS -fsanitize=fuzzer-no-link,address,undefined
       -fno-omit-frame-pointer)
  list(APPEND VX_INSTRUMENT_LINK_FLAGS -fsanitize=address,undefined)
endif()
add_compile_options(${VX_INSTRUMENT_COMPILE_FLAGS})
add_link_options(${VX_INSTRUMENT_LINK_FLAGS})
