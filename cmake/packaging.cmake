# Where `cmake --install` puts everything, and the Debian packages CPack makes of it:
# tessalune (the command and the plug-in's data), libtessalune-plugin1 (the plug-in module,
# named after its soname as Debian names libraries), tessalune-desktop (the desktop host),
# libtessalune-plugin-dev (the C header, the pkg-config file and an example) and
# tessalune-purple (the plug-in for Pidgin and Finch, in libpurple's plug-in folder).
# The interface's version is the one its header declares.
file(STRINGS ${PROJECT_SOURCE_DIR}/apps/module/tessalune_plugin.h abi_lines REGEX "#define TESSALUNE_ABI_M(AJOR|INOR) ")
string(REGEX REPLACE ".*MAJOR ([0-9]+).*" "\\1" TESSALUNE_ABI_MAJOR "${abi_lines}")
string(REGEX REPLACE ".*MINOR ([0-9]+).*" "\\1" abi_minor "${abi_lines}")
set(TESSALUNE_ABI_VERSION ${TESSALUNE_ABI_MAJOR}.${abi_minor})

# The module's soname carries the major version of its C interface.
set_target_properties(tessalune_module PROPERTIES VERSION ${TESSALUNE_ABI_VERSION}.0 SOVERSION ${TESSALUNE_ABI_MAJOR})

# The folders are GNUInstallDirs' (Debian's package sets the libraries' folder to
# lib/<multiarch>); a relative libraries' folder keeps the installation relocatable.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  message(FATAL_ERROR "CMAKE_INSTALL_LIBDIR must be relative to the prefix: ${CMAKE_INSTALL_LIBDIR}")
endif()
set(TESSALUNE_LIBDIR ${CMAKE_INSTALL_LIBDIR})
set(TESSALUNE_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc)

install(TARGETS tessalune RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tessalune)
# The command finds the module beside it, in ../<libdir>.
install(TARGETS tessalune_module LIBRARY DESTINATION ${TESSALUNE_LIBDIR} COMPONENT lib NAMELINK_COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/Tessalune DESTINATION ${CMAKE_INSTALL_DATADIR}/tessalune
        COMPONENT tessalune)

# The manual page and the completions are made by the program itself, from its options.
find_program(HELP2MAN help2man REQUIRED)
set(generated ${CMAKE_BINARY_DIR}/generated)
add_custom_command(
  OUTPUT ${generated}/tessalune.1 ${generated}/tessalune.bash ${generated}/_tessalune ${generated}/tessalune.fish
  COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1
          --name=colours\ nicknames\ and\ chat\ messages\ with\ Messenger\ Plus!\ codes
          --output=${generated}/tessalune.1 $<TARGET_FILE:tessalune>
  COMMAND $<TARGET_FILE:tessalune> completion bash > ${generated}/tessalune.bash
  COMMAND $<TARGET_FILE:tessalune> completion zsh > ${generated}/_tessalune
  COMMAND $<TARGET_FILE:tessalune> completion fish > ${generated}/tessalune.fish
  DEPENDS tessalune
  COMMENT "Writing the manual page and the completions")
# Manual pages and the changelog go compressed, as Debian keeps them.
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${generated}/tessalune.1.gz ${generated}/changelog.gz
  COMMAND ${GZIP} -9n -c ${generated}/tessalune.1 > ${generated}/tessalune.1.gz
  COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${generated}/changelog.gz
  DEPENDS ${generated}/tessalune.1 ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(tessalune_docs ALL DEPENDS ${generated}/tessalune.1.gz ${generated}/changelog.gz)
install(FILES ${generated}/tessalune.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tessalune)
install(FILES ${generated}/tessalune.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tessalune
        COMPONENT tessalune)
install(FILES ${generated}/_tessalune DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions COMPONENT tessalune)
install(FILES ${generated}/tessalune.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d COMPONENT tessalune)

# The pkg-config file finds the prefix from its own folder, <prefix>/<libdir>/pkgconfig.
file(RELATIVE_PATH TESSALUNE_PC_TO_PREFIX /prefix/${TESSALUNE_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" TESSALUNE_PC_TO_PREFIX "${TESSALUNE_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/tessalune-plugin.pc.in ${generated}/tessalune-plugin.pc @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/apps/module/tessalune_plugin.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tessalune COMPONENT dev)
install(FILES ${generated}/tessalune-plugin.pc DESTINATION ${TESSALUNE_LIBDIR}/pkgconfig COMPONENT dev)
install(FILES ${PROJECT_SOURCE_DIR}/examples/host.c DESTINATION ${TESSALUNE_DOCDIR}/libtessalune-plugin-dev/examples
        COMPONENT dev)

# Every package carries the copyright and the changelog in its documentation folder.
foreach(package IN ITEMS tessalune:tessalune libtessalune-plugin${TESSALUNE_ABI_MAJOR}:lib libtessalune-plugin-dev:dev
                        tessalune-desktop:desktop tessalune-purple:purple)
  string(REPLACE ":" ";" parts ${package})
  list(GET parts 0 name)
  list(GET parts 1 component)
  if((component STREQUAL desktop AND NOT TESSALUNE_BUILD_DESKTOP) OR
     (component STREQUAL purple AND NOT TESSALUNE_BUILD_PURPLE))
    continue()
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${generated}/changelog.gz DESTINATION ${TESSALUNE_DOCDIR}/${name}
          COMPONENT ${component})
endforeach()

set(components tessalune lib dev)
if(TESSALUNE_BUILD_DESKTOP)
  install(TARGETS tessalune-desktop RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tessalune-desktop.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT desktop)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tessalune.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          COMPONENT desktop)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.tessalune.Tessalune.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          COMPONENT desktop)
  # Its manual page, from its own --help, which needs no display.
  add_custom_command(
    OUTPUT ${generated}/tessalune-desktop.1.gz
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1
            --name=the\ desktop\ host\ of\ the\ Tessalune\ plug-in
            --output=${generated}/tessalune-desktop.1 $<TARGET_FILE:tessalune-desktop>
    COMMAND ${GZIP} -9n -f ${generated}/tessalune-desktop.1
    DEPENDS tessalune-desktop)
  add_custom_target(tessalune_desktop_docs ALL DEPENDS ${generated}/tessalune-desktop.1.gz)
  install(FILES ${generated}/tessalune-desktop.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
  list(APPEND components desktop)
endif()

if(TESSALUNE_BUILD_PURPLE)
  install(TARGETS tessalune_purple LIBRARY DESTINATION ${TESSALUNE_PURPLE_PLUGIN_DIR} COMPONENT purple)
  list(APPEND components purple)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessalune)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tessalune team <support@tessalune.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Colours nicknames and chat messages with Messenger Plus! codes")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_COMPONENTS_ALL ${components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_TESSALUNE_PACKAGE_NAME tessalune)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME tessalune-desktop)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libtessalune-plugin-dev)
set(CPACK_DEBIAN_LIB_PACKAGE_NAME libtessalune-plugin${TESSALUNE_ABI_MAJOR})
set(CPACK_DEBIAN_PURPLE_PACKAGE_NAME tessalune-purple)
set(CPACK_DEBIAN_PURPLE_PACKAGE_ENHANCES "pidgin, finch")
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
# Its shared-library file for programs linked to it, and the trigger that runs ldconfig.
file(WRITE ${generated}/lib-control/shlibs
     "libtessalune_plugin ${TESSALUNE_ABI_MAJOR} libtessalune-plugin${TESSALUNE_ABI_MAJOR} (>= ${PROJECT_VERSION})\n")
file(WRITE ${generated}/lib-control/triggers "activate-noawait ldconfig\n")
# Scripts of its own keep CPack from calling ldconfig in them, which the trigger does.
foreach(script postinst postrm)
  file(WRITE ${generated}/lib-control/${script}
       "#!/bin/sh\n# The trigger refreshes the libraries' cache.\nset -e\nexit 0\n")
endforeach()
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_EXTRA
    "${generated}/lib-control/shlibs;${generated}/lib-control/triggers;${generated}/lib-control/postinst;${generated}/lib-control/postrm")
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_STRICT_PERMISSION ON)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/libtessalune-plugin${TESSALUNE_ABI_MAJOR}.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME libtessalune-plugin${TESSALUNE_ABI_MAJOR} COMPONENT lib)
# libcurl is loaded when an update check starts, so the shared-library scan cannot see it.
set(CPACK_DEBIAN_TESSALUNE_PACKAGE_DEPENDS
    "libtessalune-plugin${TESSALUNE_ABI_MAJOR} (= ${PROJECT_VERSION}), libcurl4 | libcurl3-gnutls")
# Qt's own dialogs speak the host's language through Qt's translations.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "tessalune (= ${PROJECT_VERSION}), qt6-translations-l10n")
set(CPACK_DEBIAN_PURPLE_PACKAGE_DEPENDS "libcurl4 | libcurl3-gnutls")
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libtessalune-plugin${TESSALUNE_ABI_MAJOR} (= ${PROJECT_VERSION}), tessalune (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_TESSALUNE_DESCRIPTION "The tessalune command and the plug-in's data")
set(CPACK_COMPONENT_LIB_DESCRIPTION "The Tessalune plug-in module behind its C interface")
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION "The Qt 6 desktop host")
set(CPACK_COMPONENT_DEV_DESCRIPTION "The C interface of the plug-in module: header, pkg-config file, example")
set(CPACK_COMPONENT_PURPLE_DESCRIPTION "The Tessalune plug-in for Pidgin and Finch")
include(CPack)
