# Our own targets build with warnings as errors; code we do not own (generated
# files aside) is never built with these flags.
function(nodalis_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror)
endfunction()
