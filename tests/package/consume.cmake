# Installs the built library into a private prefix and builds the consumer program against it.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
  set(LAST_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

# Every line the consumer must print: a complex product, then the open-array calls made with a brace list, a
# std::vector, a C array and a std::span, which must all give the same vectors.
set(expected_lines "CMul = (-5, 10)")
foreach(source brace vector "C array" span)
  list(APPEND expected_lines "${source} real = 1 2 3" "${source} complex = 1 2 3 4" "${source} concat = 5 6 1 2 3 4")
endforeach()
list(APPEND expected_lines "brace sizes = 2x2 2x2" "vector sizes = 3x1c 3x1c" "C array sizes = 1x4 1x4"
  "span sizes = 2x2 2x2")

function(check_output which)
  foreach(line IN LISTS expected_lines)
    string(FIND "${LAST_OUTPUT}" "${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the ${which} consumer did not print \"${line}\":\n${LAST_OUTPUT}")
    endif()
  endforeach()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# 1. find_package(Feldrin)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake-build -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
run(${WORK_DIR}/cmake-build/consumer)
check_output(CMake-built)

# 2. pkg-config
file(GLOB_RECURSE pcfile ${prefix}/feldrin.pc)
get_filename_component(pcdir "${pcfile}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pcdir})
run(pkg-config --cflags --libs feldrin)
string(STRIP "${LAST_OUTPUT}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(c++ -std=c++20 ${SOURCE_DIR}/consumer.cpp ${flags} -o ${WORK_DIR}/pc-consumer)
get_filename_component(libdir "${pcdir}" DIRECTORY)
set(ENV{LD_LIBRARY_PATH} ${libdir})
run(${WORK_DIR}/pc-consumer)
check_output(pkg-config-built)
message(STATUS "consumer built and ran through the CMake package and through pkg-config")
