# Checks of the sources themselves, run as a script:
#   cmake -D CHECK=layers -D ROOT=<source folder> -P SourceChecks.cmake
#       no folder includes a header of a folder above it
#   cmake -D CHECK=forms -D ROOT=<source folder> -D UIC=<uic> -P SourceChecks.cmake
#       uic reads every form without a word: it only warns, and drops the tab stop or
#       buddy, when a form names a widget that it does not hold
set(failures "")
if(CHECK STREQUAL "layers")
    set(folders engine format services ui/common ui/about ui/reading ui/main app)
    set(above ${folders})
    foreach(folder IN LISTS folders)
        list(REMOVE_AT above 0)
        file(GLOB_RECURSE sources "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h"
            "${ROOT}/${folder}/*.ui")
        foreach(higher IN LISTS above)
            foreach(source IN LISTS sources)
                file(STRINGS "${source}" includes REGEX "#include \"${higher}/")
                if(includes)
                    list(APPEND failures "${source}: ${includes}")
                endif()
            endforeach()
        endforeach()
    endforeach()
elseif(CHECK STREQUAL "forms")
    file(GLOB_RECURSE forms "${ROOT}/engine/*.ui" "${ROOT}/format/*.ui" "${ROOT}/services/*.ui"
        "${ROOT}/ui/*.ui" "${ROOT}/app/*.ui")
    foreach(form IN LISTS forms)
        execute_process(COMMAND "${UIC}" "${form}" OUTPUT_QUIET ERROR_VARIABLE warnings
            RESULT_VARIABLE result)
        if(warnings OR NOT result EQUAL 0)
            list(APPEND failures "${form}: ${warnings}")
        endif()
    endforeach()
else()
    message(FATAL_ERROR "CHECK must be layers or forms")
endif()
if(failures)
    list(JOIN failures "\n" failures)
    message(FATAL_ERROR "${failures}")
endif()
