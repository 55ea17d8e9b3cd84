# Compiles the help book: cmake -DSOURCE=<help folder> -DWORK=<scratch folder>
#   -DOUTPUT=<QuorrelHelp.chm> -DCHMCMD=<chmcmd> -DICONV=<iconv> -P CompileBook.cmake
# The pages stay UTF-8 (they say so themselves); the project file and the table of contents
# are read by HTML Help in the book's language code page, so they are written in CP949.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${SOURCE}/main ${SOURCE}/images ${SOURCE}/help.css DESTINATION ${WORK})
foreach(name QuorrelHelp.hhp QuorrelHelp.hhc)
    execute_process(COMMAND ${ICONV} -f UTF-8 -t CP949 ${SOURCE}/${name}
        OUTPUT_FILE ${WORK}/${name} RESULT_VARIABLE converted)
    if(NOT converted EQUAL 0)
        message(FATAL_ERROR "cannot convert ${name} to CP949")
    endif()
endforeach()
execute_process(COMMAND ${CHMCMD} --no-html-scan QuorrelHelp.hhp
    WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE compiled)
if(NOT compiled EQUAL 0 OR NOT EXISTS ${WORK}/QuorrelHelp.chm OR log MATCHES "Error")
    message(FATAL_ERROR "chmcmd could not compile the help book:\n${log}")
endif()
file(COPY_FILE ${WORK}/QuorrelHelp.chm ${OUTPUT})
