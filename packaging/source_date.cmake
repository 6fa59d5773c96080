# Read by cpack before it packs. The dates of the files in the package, and of
# the package's own archives, are those of the last commit (or else of the
# changelog's latest entry), not the time of the build: two builds of one
# commit then give the same bytes. A SOURCE_DATE_EPOCH already set wins.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_KORVEL_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE korvel_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
    if(NOT korvel_epoch MATCHES "^[0-9]+$")
        execute_process(COMMAND dpkg-parsechangelog -l "${CPACK_KORVEL_SOURCE_DIR}/packaging/changelog"
                                -S Timestamp
                        OUTPUT_VARIABLE korvel_epoch OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
    if(NOT korvel_epoch MATCHES "^[0-9]+$")
        message(FATAL_ERROR "korvel: neither git nor the changelog gives the date of the sources")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} "${korvel_epoch}")
endif()
