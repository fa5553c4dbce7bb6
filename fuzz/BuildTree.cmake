# cmake -DSOURCE_DIR=<repository> -DBINARY_DIR=<folder> -P BuildTree.cmake
# Configures and builds the fuzz preset in a folder of its own, so that a build made
# with another compiler can still run the fuzzers.
execute_process(COMMAND ${CMAKE_COMMAND} --preset fuzz -S ${SOURCE_DIR} -B ${BINARY_DIR}
    WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} --parallel 2
    COMMAND_ERROR_IS_FATAL ANY)
