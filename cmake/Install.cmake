# cmake --install: the programs, the shipped data where the program looks for it, and the
# desktop integration (launcher, icons, AppStream metainfo, man page) in their FHS places.
include(GNUInstallDirs)

# ShippedDataFolder() looks for the data beside the executable, in ../share/olvenar.
if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
    message(WARNING "Olvenar finds its shipped data only in bin/../share/olvenar; "
                    "CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR should stay bin and share.")
endif()

if(TARGET olvenar)
    install(TARGETS olvenar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS olvenar-report olvenar-script RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${OLVENAR_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/olvenar)

set(OLVENAR_APP_ID io.github.olvenar.Olvenar)
set(OLVENAR_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${OLVENAR_PACKAGING_DIR}/${OLVENAR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${OLVENAR_PACKAGING_DIR}/${OLVENAR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${OLVENAR_PACKAGING_DIR}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${OLVENAR_PACKAGING_DIR}/olvenar-report.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
