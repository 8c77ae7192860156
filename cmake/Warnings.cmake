# Compiler warnings for the project's own targets. They are given target by target, so that nothing
# included from elsewhere (Qt, GoogleTest) is judged by them; ODIZODORUZ_WERROR makes them errors (the
# continuous-integration builds turn it on).
option(ODIZODORUZ_WERROR "Treat compiler warnings as errors" OFF)

function(odz_warnings)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<BOOL:${ODIZODORUZ_WERROR}>:-Werror>)
  endforeach()
endfunction()
