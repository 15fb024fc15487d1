# What an installation holds and the Debian package that carries it (scripts/paquete.sh).
include(GNUInstallDirs)

if(TARGET CuestionarioQAVI_2016)
  install(TARGETS CuestionarioQAVI_2016 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/cuestionario-qavi-2016.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(n 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/src/app/icono/cuestionario-qavi-${n}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${n}x${n}/apps
            RENAME cuestionario-qavi-2016.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/src/app/icono/cuestionario-qavi.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME cuestionario-qavi-2016.svg)
endif()
install(TARGETS cuestionario-qavi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The Jet export tool, in trees that have it.
if(TARGET jet-exporta)
  install(TARGETS jet-exporta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cuestionario-qavi-2016)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Soporte Técnico Velmar <soporte@velmar.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Cuestionario de Operatividad Centros Cambiarios 2016 desde Velmar")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Contesta el Cuestionario de Operatividad Centros Cambiarios 2016 con las operaciones de 2015\nregistradas en el punto de venta Velmar, sin modificar su base de datos, y lo exporta a PDF.\nIncluye el programa con ventana y la orden cuestionario-qavi sin ventana.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The libraries the programs link come from dpkg-shlibdeps; what they load at run time is named
# here: Qt's X11 platform plugin, its Spanish texts, and the fonts the window and the report use
# (Tahoma from Wine's fonts, Liberation in place of Times New Roman).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation, fonts-wine")
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
