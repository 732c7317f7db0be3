cmake_minimum_required(VERSION 3.25)
# The rule of the house: a folder includes only folders below it, and only gui/ sees widgets.
#   system/ and ports/  nothing of ours above them (ports/ may use system/)
#   table/              system/ and ports/
#   scoring/, formats/  system/, ports/, table/
#   server/             system/, ports/, table/, scoring/
#   live/               system/, ports/, table/, scoring/, formats/, server/; QtNetwork too
#   app/                anything but print/, gui/ and cli/
#   print/              anything but gui/ and cli/; QtGui, never widgets
#   cli/                anything but gui/; QtGui (for PDF pages), never widgets
# Every Qt header outside gui/ and print/ must come from QtCore or QtSql (QtNetwork in live/ and cli/),
# and the core library
# must not link QtGui or QtWidgets.
if(CORE_LINKS MATCHES "Qt6::(Gui|Widgets|PrintSupport)")
    message(FATAL_ERROR "vastrel_core links a GUI library: ${CORE_LINKS}")
endif()

set(allowed_system "system")
set(allowed_ports "system;ports")
set(allowed_table "system;ports;table")
set(allowed_scoring "system;ports;table;scoring")
set(allowed_formats "system;ports;table;formats")
set(allowed_server "system;ports;table;scoring;server")
set(allowed_live "system;ports;table;scoring;formats;server;live")
set(allowed_app "system;ports;table;scoring;formats;server;live;app")
set(allowed_print "system;ports;table;scoring;formats;server;live;app;print")
set(allowed_cli "system;ports;table;scoring;formats;server;live;app;print;cli")
set(allowed_gui "system;ports;table;scoring;formats;server;live;app;print;gui")
set(folders system ports table scoring formats server live app print cli gui)

set(violations "")
foreach(area ${folders})
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${area}/*.h" "${SOURCE_DIR}/${area}/*.cpp")
    foreach(source ${sources})
        file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line ${includes})
            if(line MATCHES "\"([a-z]+)/[^\"]+\"")
                set(folder "${CMAKE_MATCH_1}")
                if(folder IN_LIST folders AND NOT folder IN_LIST allowed_${area})
                    list(APPEND violations "${source}: ${area}/ may not include ${folder}/ (${line})")
                endif()
            elseif(line MATCHES "<(Q[A-Za-z/]+)>" AND NOT area STREQUAL "gui")
                set(header "${CMAKE_MATCH_1}")
                string(REGEX REPLACE "^Qt[A-Za-z]+/" "" bare "${header}")
                if(EXISTS "${QT_INCLUDE_DIR}/QtCore/${bare}" OR EXISTS "${QT_INCLUDE_DIR}/QtSql/${bare}")
                    continue()
                endif()
                if((area STREQUAL "print" OR area STREQUAL "cli") AND EXISTS "${QT_INCLUDE_DIR}/QtGui/${bare}")
                    continue()
                endif()
                if((area STREQUAL "live" OR area STREQUAL "cli") AND EXISTS "${QT_INCLUDE_DIR}/QtNetwork/${bare}")
                    continue()
                endif()
                list(APPEND violations "${source}: ${area}/ may not include <${header}>")
            endif()
        endforeach()
    endforeach()
endforeach()
if(violations)
    string(REPLACE ";" "\n  " listing "${violations}")
    message(FATAL_ERROR "includes that run back up or reach widgets:\n  ${listing}")
endif()
message(STATUS "layering ok")
