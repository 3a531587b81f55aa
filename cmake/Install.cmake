# Installation: the layout the build tree already has (programs and their companions in bin/,
# plug-ins in bin/plugins), the machine's registry with the installation's keys, and the desktop
# integration (desktop entries, the data link MIME type, icons, the file-manager action templates).
# Every rule is here, so that the module CMakeLists only build.
#
#   cmake --install build --prefix P
#
# Files whose content depends on the prefix (the registry, the desktop entries) are made at
# install time by InstallMachineFiles.cmake, so a prefix given to --install is honoured; DESTDIR is
# honoured throughout (CPack stages the package with it).

set(qb_programs qorvex datalink paskel qbreg qbblob)
# The console lands on its own schedule; it is installed as soon as it is built.
if(TARGET tessmar)
  list(APPEND qb_programs tessmar tessmar-window)
endif()
install(TARGETS ${qb_programs} RUNTIME DESTINATION bin)
install(TARGETS oltiva paskel_library LIBRARY DESTINATION bin)
install(TARGETS bryndle LIBRARY DESTINATION bin/plugins)
install(FILES resources/qorvex.tip DESTINATION bin)

install(DIRECTORY shellext/actions/ DESTINATION share/quillbase/paskel)
install(FILES resources/desktop/quillbase-datalink.xml DESTINATION share/mime/packages)
install(FILES resources/desktop/application-x-quillbase-datalink.svg
        DESTINATION share/icons/hicolor/scalable/mimetypes)
install(FILES resources/icons/qorvex.svg resources/desktop/tessmar.svg resources/desktop/datalink.svg
        DESTINATION share/icons/hicolor/scalable/apps)

set(qb_desktop_programs qorvex datalink)
if(TARGET tessmar)
  list(APPEND qb_desktop_programs tessmar)
endif()
install(CODE "
  set(QB_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
  set(QB_WORK_DIR \"${CMAKE_BINARY_DIR}/install-work\")
  set(QB_QBREG \"$<TARGET_FILE:qbreg>\")
  set(QB_DESKTOP_PROGRAMS \"${qb_desktop_programs}\")")
install(SCRIPT cmake/InstallMachineFiles.cmake)
