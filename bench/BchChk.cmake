# Runs one benchmark program briefly and fails when it does not end well or
# when one of its benchmarks reported an error (SkipWithError):
#   cmake -DBCH=PROGRAM -DOUT=RESULT.json -P BchChk.cmake
# TESSARO_BENCH_BRIEF cuts the benchmarks that run a fixed number of times
# or for a fixed time down to one short run.
set(ENV{TESSARO_BENCH_BRIEF} 1)
file(REMOVE ${OUT})
execute_process(COMMAND ${BCH} --benchmark_min_time=0.001 --benchmark_out=${OUT} --benchmark_out_format=json
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${BCH} ended with ${rc}")
endif()
if(NOT EXISTS ${OUT})
  message(FATAL_ERROR "${BCH} wrote no results")
endif()
file(READ ${OUT} json)
string(JSON cnt LENGTH "${json}" benchmarks)
if(cnt EQUAL 0)
  message(FATAL_ERROR "${BCH} ran no benchmark")
endif()
math(EXPR lst "${cnt} - 1")
set(bad "")
foreach(i RANGE ${lst})
  string(JSON name GET "${json}" benchmarks ${i} name)
  string(JSON eo ERROR_VARIABLE none GET "${json}" benchmarks ${i} error_occurred)
  if(eo)
    string(JSON msg ERROR_VARIABLE none GET "${json}" benchmarks ${i} error_message)
    string(APPEND bad "\n  ${name}: ${msg}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "benchmarks that could not do their work:${bad}")
endif()
