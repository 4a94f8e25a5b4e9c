# Every time stamp the build and its packages write is SOURCE_DATE_EPOCH (in
# SORELIN_SOURCE_DATE_EPOCH): from the environment when it is set there, else
# the last commit's time, else (no git, no history) a fixed day, 2016-04-01.
# Read at configure time: a new commit takes effect with the next configure.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(SORELIN_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
        OUTPUT_VARIABLE SORELIN_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE git_failed ERROR_QUIET)
    if(git_failed)
        set(SORELIN_SOURCE_DATE_EPOCH 1459468800)
    endif()
endif()
if(NOT SORELIN_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${SORELIN_SOURCE_DATE_EPOCH}")
endif()
message(STATUS "SOURCE_DATE_EPOCH: ${SORELIN_SOURCE_DATE_EPOCH}")

# No path of the source or build folder in what the compiler writes (__FILE__,
# debug information): two folders give the same program. The build folder's
# mapping comes last, as GCC takes the last one that matches.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(
        "-ffile-prefix-map=${CMAKE_CURRENT_SOURCE_DIR}=."
        "-ffile-prefix-map=${CMAKE_CURRENT_BINARY_DIR}=build")
endif()
