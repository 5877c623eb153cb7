# Writes OUTPUT from TEMPLATE with VERSION and, when SOURCE_DIR is the top of a git checkout,
# the revision it was built from ("-modified" when tracked files differ from it).
set(REVISION "")
find_package(Git QUIET)
if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
                    WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE TOP
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE FAILED)
    file(REAL_PATH "${SOURCE_DIR}" SOURCE_REAL)
    if(NOT FAILED AND TOP)
        file(REAL_PATH "${TOP}" TOP_REAL)
    endif()
    if(NOT FAILED AND TOP_REAL STREQUAL SOURCE_REAL)
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=12 HEAD
                        WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE REVISION
                        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        execute_process(COMMAND ${GIT_EXECUTABLE} status --porcelain --untracked-files=no
                        WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE CHANGES ERROR_QUIET)
        if(REVISION AND CHANGES)
            string(APPEND REVISION "-modified")
        endif()
    endif()
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
