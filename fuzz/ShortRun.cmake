# cmake -DFUZZER=<executable> -DSEEDS=<folder> -DWORK_DIR=<folder> -DSECONDS=<n> -P ShortRun.cmake
# A brief run from the seed corpus. New inputs and any crashing input go to WORK_DIR,
# never into the seed corpus kept with the sources.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/corpus)
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -print_final_stats=1
            -artifact_prefix=${WORK_DIR}/ ${WORK_DIR}/corpus ${SEEDS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); the input is in ${WORK_DIR}")
endif()
