# Builds one language's help file. The contents file is the one list of pages and their titles:
# each page's text (Html/*.htm holds only what is particular to it) is set in Page.htm.in under
# its title, with a list of links to all the other pages, and the project's file list is made
# from it. The page frame, the project and the style sheet beside this script serve every
# language. The texts are UTF-8, but HTML Help reads the contents, the index, the title and the
# pages in the code page of the file's language, so each is written in that code page. The project
# asks for no binary index: chmcmd would write its keywords as though the index file were UTF-8,
# and HTML Help reads the index file itself just as well.
# Run as a script:
#   cmake -DTEXT_DIR=<the language's Contents.hhc, Index.hhk and Html/*.htm>
#         -DLANGUAGE=<the project's Language line> -DHELP_TITLE=<the help window's title>
#         -DCHARSET=<the pages' charset> -DCODE_PAGE=<iconv's name of that code page>
#         -DWORK_DIR=<a build folder> -DOUTPUT=<the .chm> -P BuildHelp.cmake
set(TEMPLATE_DIR ${CMAKE_CURRENT_LIST_DIR})

# Writes WORK_DIR/<name> from its UTF-8 text in <name>.utf-8, which goes.
function(write_in_code_page name)
    execute_process(COMMAND iconv -f UTF-8 -t ${CODE_PAGE} -o ${name} ${name}.utf-8
                    WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE result ERROR_VARIABLE log)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "iconv could not write ${name} in ${CODE_PAGE}:\n${log}")
    endif()
    file(REMOVE ${WORK_DIR}/${name}.utf-8)
endfunction()

file(READ ${TEXT_DIR}/Contents.hhc contents)
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
    file(READ ${TEXT_DIR}/${page} CONTENT)
    configure_file(${TEMPLATE_DIR}/Page.htm.in ${WORK_DIR}/${page}.utf-8 @ONLY)
    write_in_code_page(${page})
endforeach()

string(REPLACE ";" "\n" HELP_PAGES "${pages}")
configure_file(${TEMPLATE_DIR}/Corvane.hhp.in ${WORK_DIR}/Corvane.hhp.utf-8 @ONLY)
write_in_code_page(Corvane.hhp)
foreach(file Contents.hhc Index.hhk)
    configure_file(${TEXT_DIR}/${file} ${WORK_DIR}/${file}.utf-8 COPYONLY)
    write_in_code_page(${file})
endforeach()
configure_file(${TEMPLATE_DIR}/Html/Help.css ${WORK_DIR}/Html/Help.css COPYONLY)

execute_process(COMMAND chmcmd --no-html-scan --verbosity 0 Corvane.hhp WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK_DIR}/Corvane.chm)
    message(FATAL_ERROR "chmcmd failed:\n${log}")
endif()
configure_file(${WORK_DIR}/Corvane.chm ${OUTPUT} COPYONLY)
