# Installs the build into a fresh prefix and checks the installed tree: every file in its place,
# and the installed program copying the installed data (not the source tree's) into a new
# program folder. Run by ctest as: cmake -DBUILD_DIR=... -DWORK_DIR=... -DHAS_WINDOW=ON|OFF -P
set(prefix ${WORK_DIR}/usr)
file(REMOVE_RECURSE ${WORK_DIR})

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

set(app io.github.olvenar.Olvenar)
set(expected
    bin/olvenar-report bin/olvenar-script
    share/olvenar/OVDef.chl share/olvenar/Olvenar.chl share/olvenar/ZipCodes.dat
    share/olvenar/Lookup.dat share/olvenar/NOTICE share/olvenar/jokes.chl
    share/olvenar/tips.chl share/olvenar/AudioHelp.chl share/olvenar/QuickStart.html
    share/olvenar/help/index.html share/olvenar/help/help.css
    share/applications/${app}.desktop share/metainfo/${app}.metainfo.xml
    share/icons/hicolor/scalable/apps/${app}.svg share/man/man1/olvenar-report.1)
if(HAS_WINDOW)
    list(APPEND expected bin/olvenar)
endif()
foreach(path IN LISTS expected)
    if(NOT EXISTS ${prefix}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# The sound module is installed, and the installed programs find it from their own folder.
file(GLOB_RECURSE module ${prefix}/lib*/olvenar/libolvenar-qt-audio.so)
if(NOT module)
    message(FATAL_ERROR "not installed: the sound module libolvenar-qt-audio.so")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=OLVENAR_SHIPPED_DATA
        OLVENAR_HOME=${WORK_DIR}/sound-home OLVENAR_CONFIG_DIR=${WORK_DIR}/sound-config
        ${prefix}/bin/olvenar-report --list-devices
    OUTPUT_QUIET ERROR_VARIABLE errors)
if(errors MATCHES "could not be loaded")
    message(FATAL_ERROR "installed olvenar-report --list-devices: ${errors}")
endif()

# Each PNG icon is as large as its folder says (width and height in the PNG header).
foreach(size 16 32 48 64 128 256)
    set(png ${prefix}/share/icons/hicolor/${size}x${size}/apps/${app}.png)
    if(NOT EXISTS ${png})
        message(FATAL_ERROR "not installed: ${png}")
    endif()
    file(READ ${png} header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING ${header} 0 8 widthHex)
    string(SUBSTRING ${header} 8 8 heightHex)
    math(EXPR width "0x${widthHex}")
    math(EXPR height "0x${heightHex}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "${png} is ${width}x${height}")
    endif()
endforeach()

# A file that only the installed data folder holds must reach the new program folder.
file(WRITE ${prefix}/share/olvenar/installed-marker "")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=OLVENAR_SHIPPED_DATA
        OLVENAR_HOME=${WORK_DIR}/home OLVENAR_CONFIG_DIR=${WORK_DIR}/config
        ${prefix}/bin/olvenar-report --find Boston
    RESULT_VARIABLE status OUTPUT_VARIABLE found ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT found MATCHES "United States\\|Massachusetts\\|Boston")
    message(FATAL_ERROR "installed olvenar-report --find Boston: ${status}\n${found}${errors}")
endif()
foreach(copied installed-marker jokes.chl AudioHelp.chl help/index.html)
    if(NOT EXISTS ${WORK_DIR}/home/${copied})
        message(FATAL_ERROR "the installed program did not copy ${copied} into its folder")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
