# Warnings are on for the project's own code and kept at zero.
function(tpwr_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-missing-field-initializers
                         $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
endfunction()
