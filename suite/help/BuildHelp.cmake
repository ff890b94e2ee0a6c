# Builds the suite's help file. The contents file is the one list of pages and their titles: each
# page's text (Html/*.htm holds only what is particular to it) is set in Page.htm.in under its
# title, with a list of links to all the other pages, and the project's file list is made from it.
# Run as a script:
#   cmake -DSOURCE_DIR=<these sources> -DWORK_DIR=<a build folder> -DOUTPUT=<the .chm> -P BuildHelp.cmake
file(READ ${SOURCE_DIR}/Contents.hhc contents)
string(REGEX MATCHALL "<param name=\"Name\" value=\"[^\"]*\">[ \t\r\n]*<param name=\"Local\" value=\"[^\"]*\">"
       entries "${contents}")

set(pages)
set(titles)
foreach(entry IN LISTS entries)
    string(REGEX REPLACE ".*Name\" value=\"([^\"]*)\".*" "\\1" title "${entry}")
    string(REGEX REPLACE ".*Local\" value=\"([^\"]*)\".*" "\\1" page "${entry}")
    list(APPEND pages ${page})
    list(APPEND titles "${title}")
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/Html)
list(LENGTH pages count)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
    list(GET pages ${i} page)
    list(GET titles ${i} TITLE)
    set(PAGES "<ul class=\"pages\">\n")
    foreach(j RANGE ${last})
        list(GET pages ${j} other)
        list(GET titles ${j} title)
        get_filename_component(name ${other} NAME)
        if(i EQUAL j)
            string(APPEND PAGES "<li><b>${title}</b></li>\n")
        else()
            string(APPEND PAGES "<li><a href=\"${name}\">${title}</a></li>\n")
        endif()
    endforeach()
    string(APPEND PAGES "</ul>")
    file(READ ${SOURCE_DIR}/${page} CONTENT)
    configure_file(${SOURCE_DIR}/Page.htm.in ${WORK_DIR}/${page} @ONLY)
endforeach()

string(REPLACE ";" "\n" HELP_PAGES "${pages}")
configure_file(${SOURCE_DIR}/Corvane.hhp.in ${WORK_DIR}/Corvane.hhp @ONLY)
foreach(file Contents.hhc Index.hhk Html/Help.css)
    configure_file(${SOURCE_DIR}/${file} ${WORK_DIR}/${file} COPYONLY)
endforeach()

execute_process(COMMAND chmcmd --no-html-scan --verbosity 0 Corvane.hhp WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK_DIR}/Corvane.chm)
    message(FATAL_ERROR "chmcmd failed:\n${log}")
endif()
configure_file(${WORK_DIR}/Corvane.chm ${OUTPUT} COPYONLY)
