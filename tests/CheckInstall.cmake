# Installs the build into PREFIX and checks that every file arrived and the tool runs from there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}" RESULT_VARIABLE result
                OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/vastrel bin/vastrel-cli share/vastrel/Urkunde.rtf share/applications/vastrel.desktop
             share/icons/hicolor/scalable/apps/vastrel.svg)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/vastrel-cli" --help RESULT_VARIABLE result OUTPUT_VARIABLE usage)
if(NOT result EQUAL 0 OR NOT usage MATCHES "Aufruf: vastrel-cli recalc")
    message(FATAL_ERROR "the installed vastrel-cli does not run: ${result}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "install layout ok")
