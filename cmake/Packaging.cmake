# What `cpack -G DEB` puts into the Debian package: the program, kormoplan-calc and dbfdump,
# the demo data as the template a new working folder is made from, the desktop entry, the
# icon, the manual pages in English and Russian, and the copyright and changelog files
# Debian asks for.
include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(kp_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kormoplan)

install(TARGETS kormoplan kormoplan-calc dbfdump RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/itog3/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kormoplan/itog3 FILE_PERMISSIONS
        OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kormoplan.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kormoplan.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
file(GLOB kp_icons ${PROJECT_SOURCE_DIR}/packaging/icons/kormoplan-*.png)
foreach(icon ${kp_icons})
  string(REGEX REPLACE ".*-([0-9]+)\\.png$" "\\1" size ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME kormoplan.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${kp_doc_dir})

# Debian wants the changelog and the manual pages compressed to the maximum and without a
# time stamp.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
function(kp_gzip source target destination)
  add_custom_command(OUTPUT ${target} COMMAND gzip -9nc ${source} > ${target}
                     DEPENDS ${source} VERBATIM)
  list(APPEND kp_gzipped ${target})
  set(kp_gzipped ${kp_gzipped} PARENT_SCOPE)
  install(FILES ${target} DESTINATION ${destination})
endfunction()
set(kp_gzipped)
kp_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        ${kp_doc_dir})
foreach(page kormoplan kormoplan-calc dbfdump)
  foreach(language en ru)
    set(source ${PROJECT_SOURCE_DIR}/packaging/man/${page}.1)
    set(destination ${CMAKE_INSTALL_MANDIR}/man1)
    if(language STREQUAL ru)
      set(source ${PROJECT_SOURCE_DIR}/packaging/man/ru/${page}.1)
      set(destination ${CMAKE_INSTALL_MANDIR}/ru/man1)
    endif()
    file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging/${language})
    kp_gzip(${source} ${PROJECT_BINARY_DIR}/packaging/${language}/${page}.1.gz ${destination})
  endforeach()
endforeach()
add_custom_target(kp-compressed ALL DEPENDS ${kp_gzipped})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kormoplan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Кормоплан")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "least-cost recipes for compound-feed mills")
set(CPACK_PACKAGE_DESCRIPTION
    "Кормоплан keeps the nutrient characteristics, raw materials and feed\n"
    "types of a compound-feed mill and computes least-cost recipes by linear\n"
    "programming. Recipes are kept in a numbered archive, printed as recipe\n"
    "documents and quality certificates and exported to a word processor.\n"
    "The interface is Russian. The data are dBASE tables in code page 1251.")
# The pieces are joined as they stand: a ";" inside them would split the list and vanish.
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Кормоплан developers <kormoplan@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windowing plugin and the Russian texts of Qt's own dialogs are loaded at run time,
# so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
include(CPack)
