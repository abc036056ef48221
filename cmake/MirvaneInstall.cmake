# What `cmake --install` puts under its prefix (/usr/local unless told otherwise): the two
# programs, the photo library they load, and what the desktop needs to list, label and draw
# Mirvane: its desktop file, AppStream metainfo, icons, and the companion's man page.
include(GNUInstallDirs)

set(MIRVANE_APP_ID io.mirvane.Mirvane)

# The photo library is Mirvane's own and nobody else's: a private folder keeps it out of the
# system's library path, and the programs find it relative to themselves, wherever the prefix.
set(mirvane_private_libdir ${CMAKE_INSTALL_LIBDIR}/mirvane)
file(RELATIVE_PATH mirvane_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBDIR}/mirvane)
set_target_properties(mirvane mirvane-sheet PROPERTIES
  INSTALL_RPATH "$ORIGIN/${mirvane_bin_to_lib}")

install(TARGETS mirvane mirvane-sheet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS mirvane_photos LIBRARY DESTINATION ${mirvane_private_libdir})

set(mirvane_desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)
install(FILES ${mirvane_desktop_dir}/${MIRVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${mirvane_desktop_dir}/${MIRVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${mirvane_desktop_dir}/mirvane-sheet.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The icons: the drawing itself as the scalable one, and the bitmaps the build rasterised.
get_directory_property(icon_svg DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons
                       DEFINITION MIRVANE_ICON_SVG)
get_directory_property(icon_sizes DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons
                       DEFINITION MIRVANE_ICON_SIZES)
get_directory_property(icon_dir DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons
                       DEFINITION MIRVANE_ICON_DIR)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${icon_svg} DESTINATION ${hicolor}/scalable/apps RENAME ${MIRVANE_APP_ID}.svg)
foreach(size IN LISTS icon_sizes)
  install(FILES ${icon_dir}/${size}.png DESTINATION ${hicolor}/${size}x${size}/apps
          RENAME ${MIRVANE_APP_ID}.png)
endforeach()
