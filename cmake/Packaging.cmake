# What `cmake --install` puts where, and the Debian package `make package` builds with CPack.
include(GNUInstallDirs)

install(TARGETS qvxclientui-xlatcheck RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The tap finds the program beside itself, so both go to the same folder.
install(TARGETS qvxclientui-tap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY share/translations DESTINATION ${CMAKE_INSTALL_DATADIR}/qvxclientui)
install(TARGETS qvxclientui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The man page's widget hierarchy and the app-defaults file come from the dialogs' tables.
string(TIMESTAMP QVX_MAN_DATE "%Y-%m-%d" UTC)
configure_file(share/man/qvxclientui.1.in ${CMAKE_BINARY_DIR}/qvxclientui.1.template @ONLY)
configure_file(share/man/qvxclientui-xlatcheck.1.in ${CMAKE_BINARY_DIR}/qvxclientui-xlatcheck.1
               @ONLY)
configure_file(share/man/qvxclientui-tap.1.in ${CMAKE_BINARY_DIR}/qvxclientui-tap.1 @ONLY)
set(QVX_MAN_PAGE ${CMAKE_BINARY_DIR}/qvxclientui.1)
set(QVX_APP_DEFAULTS ${CMAKE_BINARY_DIR}/XQVXClientUI)
add_custom_command(OUTPUT ${QVX_MAN_PAGE} ${QVX_APP_DEFAULTS}
  COMMAND qvxclientui-widgetdoc ${CMAKE_BINARY_DIR}/qvxclientui.1.template ${QVX_MAN_PAGE}
          ${QVX_APP_DEFAULTS}
  DEPENDS qvxclientui-widgetdoc ${CMAKE_BINARY_DIR}/qvxclientui.1.template
  COMMENT "Writing the man page and the app-defaults file from the widget tables")
add_custom_target(qvxclientui-docs ALL DEPENDS ${QVX_MAN_PAGE} ${QVX_APP_DEFAULTS})

# The app-defaults folder and the man pages' form depend on the prefix at install time: the
# package installs into /usr with app-defaults under /etc, compressed man pages and a changelog.
install(CODE "
  set(manPages ${QVX_MAN_PAGE} ${CMAKE_BINARY_DIR}/qvxclientui-xlatcheck.1
                ${CMAKE_BINARY_DIR}/qvxclientui-tap.1)
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(appDefaults /etc/X11/app-defaults)
    set(japaneseAppDefaults /etc/X11/ja/app-defaults)
    set(compressed)
    foreach(page \${manPages} ${CMAKE_SOURCE_DIR}/share/changelog)
      get_filename_component(name \${page} NAME)
      execute_process(COMMAND gzip -9n -c \${page} OUTPUT_FILE ${CMAKE_BINARY_DIR}/\${name}.gz
                      COMMAND_ERROR_IS_FATAL ANY)
      list(APPEND compressed ${CMAKE_BINARY_DIR}/\${name}.gz)
    endforeach()
    list(POP_BACK compressed changelog)
    set(manPages \${compressed})
    file(INSTALL \${changelog} DESTINATION /usr/share/doc/qvxclientui
         PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  else()
    set(appDefaults \${CMAKE_INSTALL_PREFIX}/lib/X11/app-defaults)
    set(japaneseAppDefaults \${CMAKE_INSTALL_PREFIX}/lib/X11/ja/app-defaults)
  endif()
  file(INSTALL ${QVX_APP_DEFAULTS} DESTINATION \${appDefaults}
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  # The toolkit reads a language's own resources from <language>/app-defaults beside the others:
  # Japanese gets a font set drawn at its size instead of scaled kanji.
  file(INSTALL ${CMAKE_SOURCE_DIR}/share/app-defaults/ja/XQVXClientUI
       DESTINATION \${japaneseAppDefaults}
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(INSTALL \${manPages} DESTINATION \${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
")

# The client simulator and its demo scenario, to try the program without the client.
set(QVX_SIMULATOR_DIR ${CMAKE_INSTALL_DATADIR}/qvxclientui/simulator)
install(PROGRAMS tools/clientsim DESTINATION ${QVX_SIMULATOR_DIR})
install(FILES tools/qvxsim.py tools/scenario.py tools/xsession.py tools/xwidgets.py
              tools/memcheck.py tools/memcheck.supp tools/chaos.py tools/chaosmodel.py tools/replay.py
        DESTINATION ${QVX_SIMULATOR_DIR})
# A scenario names the sample translation files by their place in the source tree; installed,
# they sit two folders above the scenarios.
file(GLOB QVX_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/scenarios/*.json)
foreach(scenario ${QVX_SCENARIOS})
  get_filename_component(name ${scenario} NAME)
  file(READ ${scenario} text)
  string(REPLACE "../../share/translations/" "../../translations/" text "${text}")
  file(WRITE ${CMAKE_BINARY_DIR}/scenarios/${name} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${scenario})
  install(FILES ${CMAKE_BINARY_DIR}/scenarios/${name} DESTINATION ${QVX_SIMULATOR_DIR}/scenarios)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qvxclientui)
set(CPACK_PACKAGE_VENDOR "qvxclientui developers")
set(CPACK_PACKAGE_CONTACT "qvxclientui developers <maintainers@qvxclientui.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "X11 dialogs of the endpoint-management client")
set(CPACK_PACKAGE_DESCRIPTION
"The endpoint-management client runs with full rights on the workstation and
starts qvxclientui in the user's X session to ask for consent and to inform:
it lists the pending actions with their deadlines (take, snooze or cancel),
asks for confirmation, previews action scripts, shows messages for running
and completed actions and a notice while the interface is disabled.
.
The two talk framed XML over pipes. Texts can be replaced by translation
files; colours and fonts are X resources of the class XQVXClientUI.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The install code above decides by the prefix it is given, so CPack must install into a
# staging DESTDIR with the real prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS python3)
file(WRITE ${CMAKE_BINARY_DIR}/debian/conffiles
     "/etc/X11/app-defaults/XQVXClientUI\n/etc/X11/ja/app-defaults/XQVXClientUI\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/conffiles)
include(CPack)
