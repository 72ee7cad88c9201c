# Installs the build into an empty prefix and checks that every file lies where
# the program and the desktop look for it, and that nothing a run in the build
# folder left behind is installed.
file(REMOVE_RECURSE ${PREFIX})
set(leftover ${PROGRAM_DIR}/data/install-check-leftover.ini)
file(WRITE ${leftover} "[Run]\n")
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
file(REMOVE ${leftover})
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

set(program ${PREFIX}/${INSTALL_DIR})
set(problems)
foreach(file IN ITEMS
        ${program}/tablora
        ${program}/tablora-convert
        ${program}/installed
        ${program}/help.chm
        ${program}/db/default.db
        ${program}/Примеры/Программы.db
        ${program}/Примеры/Профайл.db
        "${program}/Примеры/Школьная база.db"
        ${PREFIX}/share/applications/${APP_ID}.desktop
        ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml
        ${PREFIX}/share/icons/hicolor/scalable/apps/${APP_ID}.svg
        ${PREFIX}/share/man/man1/tablora.1.gz
        ${PREFIX}/share/man/man1/tablora-convert.1.gz
        ${PREFIX}/share/doc/tablora/copyright
        ${PREFIX}/share/doc/tablora/changelog.Debian.gz)
    if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
        list(APPEND problems "missing ${file}")
    endif()
endforeach()

# The folders the program writes into come empty.
foreach(folder IN ITEMS ${program}/data ${program}/db/favourite)
    file(GLOB content ${folder}/*)
    if(NOT IS_DIRECTORY ${folder})
        list(APPEND problems "missing folder ${folder}")
    elseif(content)
        list(APPEND problems "${folder} is not empty: ${content}")
    endif()
endforeach()

# Each icon size holds a picture of that size (a PNG's width and height stand
# at bytes 16 to 23).
foreach(size IN ITEMS 16 24 32 48 64 128 256)
    set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    if(NOT EXISTS ${png})
        list(APPEND problems "missing ${png}")
        continue()
    endif()
    file(READ ${png} header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING ${header} 0 8 width_hex)
    string(SUBSTRING ${header} 8 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        list(APPEND problems "${png} is ${width}x${height}")
    endif()
endforeach()

# bin/ holds links that lead to the program folder's executables.
foreach(name IN ITEMS tablora tablora-convert)
    set(link ${PREFIX}/bin/${name})
    file(REAL_PATH ${link} target)
    file(REAL_PATH ${program}/${name} executable)
    if(NOT IS_SYMLINK ${link})
        list(APPEND problems "${link} is not a link")
    elseif(NOT target STREQUAL executable)
        list(APPEND problems "${link} leads to ${target}")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n" text)
    message(FATAL_ERROR "${text}")
endif()
