# pismolot_source_date_epoch(CHANGELOG OUT)
# The date that packed files carry: SOURCE_DATE_EPOCH when set, else the
# newest changelog entry's, as Debian's package builds do, so that the same
# sources make the same package whenever it is made.
function(pismolot_source_date_epoch changelog out)
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
    if(epoch STREQUAL "")
        file(STRINGS ${changelog} trailer REGEX "^ -- " LIMIT_COUNT 1)
        string(REGEX REPLACE "^ -- .*  ([A-Z][a-z][a-z], )" "" date "${trailer}")
        execute_process(COMMAND date -d "${date}" +%s OUTPUT_VARIABLE epoch
            OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "no date in the changelog's trailer: ${trailer}")
        endif()
    endif()
    set(${out} ${epoch} PARENT_SCOPE)
endfunction()
