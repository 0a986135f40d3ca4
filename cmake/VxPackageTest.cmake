# cmake -P script of the test "package": installs the build tree into a fresh
# prefix, checks what was installed, then configures, builds and runs the
# outside program of cmake/package_test against it with the compiler and the
# instrumentation flags of the build.
# Last it starts the installed vx_analyse with PROGRAM_CHECK, the script that
# expects the program to run on with its banner printed.
# Variables: BUILD_DIR, WORK_DIR, SOURCE_DIR, GENERATOR, MAKE_PROGRAM,
# CXX_COMPILER, CXX_FLAGS, LINK_FLAGS, PROGRAM_CHECK.

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(include_dir ${prefix}/include/corvella)
file(GLOB_RECURSE internal RELATIVE ${include_dir} ${include_dir}/*/detail/* ${include_dir}/*/tests/*)
if(internal)
  message(FATAL_ERROR "internal headers installed: ${internal}")
endif()

foreach(binary lib/libvximage.so lib/libfilter.so lib/libanalyse.so lib/libautomation.so
        lib/libvxgui.so bin/vx_analyse)
  file(READ_ELF ${prefix}/${binary} RUNPATH runpath)
  if(NOT runpath STREQUAL "$ORIGIN/../lib")
    message(FATAL_ERROR "${binary} has RUNPATH '${runpath}'")
  endif()
endforeach()

# Every installed header must compile from the installed tree alone.
file(GLOB_RECURSE headers RELATIVE ${include_dir} ${include_dir}/*.h)
set(includes "")
foreach(header IN LISTS headers)
  string(APPEND includes "#include \"${header}\"\n")
endforeach()
file(WRITE ${WORK_DIR}/all_headers.cpp "${includes}")

run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
    -DCMAKE_PREFIX_PATH=${prefix} -DHEADER_CHECK_SOURCE=${WORK_DIR}/all_headers.cpp)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/package_test)
run(bash ${PROGRAM_CHECK} ${prefix}/bin/vx_analyse)
