# The help file. The pages are kept here in UTF-8; the compiled help is
# Russian, and its viewers read the contents and the index in that language's
# code page, so every file is converted to Windows-1251 (which the pages
# declare) before the compiler sees it. Any problem fails the build: a
# character the code page cannot hold, a page left out of the project or the
# contents, a link to a missing page, a compiler error.
#
# Included by the build, this file only defines help_project_pages(). Run as a
# script it compiles the help:
#   cmake -DSOURCE_DIR=<this folder> -DSTAGE_DIR=<scratch folder>
#         -DOUTPUT=<.../help.chm> -DCHMCMD=<chmcmd> -DICONV=<iconv> -P BuildHelp.cmake

# The pages listed in the [FILES] section of the project file.
function(help_project_pages project out_var)
    file(STRINGS ${project} lines)
    set(pages)
    set(in_files FALSE)
    foreach(line IN LISTS lines)
        string(STRIP "${line}" line)
        if(line MATCHES "^\\[")
            set(in_files FALSE)
            if(line STREQUAL "[FILES]")
                set(in_files TRUE)
            endif()
        elseif(in_files AND NOT line STREQUAL "")
            list(APPEND pages ${line})
        endif()
    endforeach()
    set(${out_var} ${pages} PARENT_SCOPE)
endfunction()

if(NOT CMAKE_SCRIPT_MODE_FILE)
    return()
endif()
cmake_minimum_required(VERSION 3.22)

function(fail message)
    message(FATAL_ERROR "help.chm cannot be compiled: ${message}")
endfunction()

set(project_file tablora.hhp)
help_project_pages(${SOURCE_DIR}/${project_file} pages)

# Every page is in the project and in the contents.
file(READ ${SOURCE_DIR}/toc.hhc contents)
file(GLOB written RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.html)
foreach(page IN LISTS written)
    if(NOT page IN_LIST pages)
        fail("${page} is not listed in ${project_file}")
    endif()
endforeach()
foreach(page IN LISTS pages)
    string(FIND "${contents}" "value=\"${page}\"" at)
    if(at EQUAL -1)
        fail("${page} is missing from the contents (toc.hhc)")
    endif()
endforeach()

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
foreach(file IN LISTS pages ITEMS ${project_file} toc.hhc index.hhk)
    execute_process(COMMAND ${ICONV} -f UTF-8 -t WINDOWS-1251 ${SOURCE_DIR}/${file}
        OUTPUT_FILE ${STAGE_DIR}/${file}
        ERROR_VARIABLE reason
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        fail("${file} does not convert to Windows-1251: ${reason}")
    endif()
endforeach()

# The compiler warns, and still succeeds, about links to files it cannot find.
execute_process(COMMAND ${CHMCMD} ${project_file}
    WORKING_DIRECTORY ${STAGE_DIR}
    OUTPUT_VARIABLE report
    ERROR_VARIABLE report
    RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR report MATCHES "Warning|Error|exception|Can't")
    fail("the compiler reports:\n${report}")
endif()
if(NOT EXISTS ${STAGE_DIR}/help.chm)
    fail("the compiler wrote no help.chm:\n${report}")
endif()
file(SIZE ${STAGE_DIR}/help.chm size)
if(size EQUAL 0)
    fail("the compiler wrote an empty help.chm:\n${report}")
endif()
file(COPY_FILE ${STAGE_DIR}/help.chm ${OUTPUT})
