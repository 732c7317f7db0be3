# Installs the build into PREFIX and checks that every file arrived and the tool runs from there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}" RESULT_VARIABLE result
                OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/vastrel bin/vastrel-cli share/vastrel/Urkunde.rtf share/vastrel/Urkunde.htm
             share/applications/vastrel.desktop
             share/icons/hicolor/scalable/apps/vastrel.svg share/mime/packages/vastrel.xml)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/vastrel-cli" --help RESULT_VARIABLE result OUTPUT_VARIABLE usage)
if(NOT result EQUAL 0 OR NOT usage MATCHES "Aufruf: vastrel-cli recalc")
    message(FATAL_ERROR "the installed vastrel-cli does not run: ${result}")
endif()
# The menu entry passes the desktop's checks, and the installed MIME type maps "*.fil".
execute_process(COMMAND desktop-file-validate "${PREFIX}/share/applications/vastrel.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
if(NOT result EQUAL 0 OR complaints)
    message(FATAL_ERROR "desktop-file-validate: ${result} ${complaints}")
endif()
execute_process(COMMAND update-mime-database "${PREFIX}/share/mime" RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
file(READ "${PREFIX}/share/mime/globs2" globs)
if(NOT result EQUAL 0 OR NOT globs MATCHES "application/x-vastrel:\\*\\.fil")
    message(FATAL_ERROR "the MIME type of *.fil is not installed: ${result}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "install layout ok")
