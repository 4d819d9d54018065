# Installation and Debian packages: one package per program, each with its catalogues,
# desktop entry and icon. Programs are installed only when their targets exist, so this
# works while a program is still being written.
#
# Layout under the prefix (TranslationInstaller finds the catalogues there, relative to
# bin/, when there are none next to the program):
#   bin/<program>
#   share/<program>/translations/<catalogue>_<language>.qm
#   share/applications/<program>.desktop
#   share/icons/hicolor/scalable/apps/<program>.svg
include(GNUInstallDirs)

set(VANTOR_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
# Builds just what the packages hold: the packaged programs and their catalogues.
add_custom_target(vantor-packaged)
set(VANTOR_PACKAGE_MAINTAINER "Vantor road tools developers <road-tools@vantor.invalid>"
    CACHE STRING "Maintainer named in the Debian packages")

# vantor_install_program(<program> COMPONENT <component> [CATALOGUES <catalogue>...]
#                        [DESKTOP] [DOCS <file>...])
function(vantor_install_program program)
    cmake_parse_arguments(ARG "DESKTOP" "COMPONENT" "CATALOGUES;DOCS" ${ARGN})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT ${ARG_COMPONENT})
    add_dependencies(vantor-packaged ${program})
    if(ARG_CATALOGUES)
        set(patterns)
        foreach(catalogue IN LISTS ARG_CATALOGUES)
            list(APPEND patterns PATTERN "${catalogue}_*.qm")
            if(TARGET ${catalogue}_translations)
                add_dependencies(vantor-packaged ${catalogue}_translations)
            endif()
        endforeach()
        install(DIRECTORY ${VANTOR_TRANSLATIONS_DIR}/
            DESTINATION ${CMAKE_INSTALL_DATADIR}/${program}/translations
            COMPONENT ${ARG_COMPONENT} FILES_MATCHING ${patterns})
    endif()
    if(ARG_DESKTOP)
        install(FILES ${VANTOR_PACKAGING_DIR}/${program}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${ARG_COMPONENT})
        install(FILES ${VANTOR_PACKAGING_DIR}/icons/${program}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            COMPONENT ${ARG_COMPONENT})
    endif()
    if(ARG_DOCS)
        install(FILES ${ARG_DOCS} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${program}
            COMPONENT ${ARG_COMPONENT})
    endif()
    set_property(GLOBAL APPEND PROPERTY VANTOR_PACKAGED_COMPONENTS ${ARG_COMPONENT})
endfunction()

# The catalogue of Qt's standard buttons, and the SVG plugins that draw the window icons;
# neither is a linked library, so dpkg-shlibdeps cannot find them.
set(gui_depends "qttranslations5-l10n, libqt5svg5")

if(TARGET vantor-road-app-gui)
    vantor_install_program(vantor-road-app-gui COMPONENT RoadApp DESKTOP
        CATALOGUES vantor-road-app-gui vantor-widgets
        DOCS ${CMAKE_SOURCE_DIR}/docs/guide/README.md ${CMAKE_SOURCE_DIR}/docs/guide/road-app.md)
    set(CPACK_DEBIAN_ROADAPP_PACKAGE_NAME vantor-road-app-gui)
    set(CPACK_DEBIAN_ROADAPP_PACKAGE_SECTION electronics)
    set(CPACK_DEBIAN_ROADAPP_PACKAGE_DEPENDS "${gui_depends}")
    set(CPACK_DEBIAN_ROADAPP_DESCRIPTION
        "Set-up and monitoring tool for Vantor road traffic radars
 Connects over a WebSocket to the serial-port server of a Vantor road traffic
 radar, shows the detected vehicles on a traffic scheme, on a roadside camera
 picture and in tables, sends the radar's commands (position, limitations,
 tuning, save and restart) and keeps all settings in named work profiles.")
endif()

if(TARGET qel-udp-client)
    vantor_install_program(qel-udp-client COMPONENT UdpConsole DESKTOP
        CATALOGUES qel-udp-client vantor-widgets
        DOCS ${CMAKE_SOURCE_DIR}/docs/guide/README.md ${CMAKE_SOURCE_DIR}/docs/guide/udp-console.md)
    set(CPACK_DEBIAN_UDPCONSOLE_PACKAGE_NAME qel-udp-client)
    set(CPACK_DEBIAN_UDPCONSOLE_PACKAGE_SECTION net)
    set(CPACK_DEBIAN_UDPCONSOLE_PACKAGE_DEPENDS "${gui_depends}")
    set(CPACK_DEBIAN_UDPCONSOLE_DESCRIPTION
        "UDP message console with text filters and message templates
 Binds a UDP socket, lists the received datagrams filtered by text rules,
 pretty-prints JSON payloads, shows the description of the matching rule,
 and sends messages composed from templates.")
endif()

if(TARGET vantor-radar-sim)
    vantor_install_program(vantor-radar-sim COMPONENT RadarSim
        DOCS ${CMAKE_SOURCE_DIR}/sim/README.md ${CMAKE_SOURCE_DIR}/docs/guide/radar-sim.md)
    set(CPACK_DEBIAN_RADARSIM_PACKAGE_NAME vantor-radar-sim)
    set(CPACK_DEBIAN_RADARSIM_PACKAGE_SECTION electronics)
    set(CPACK_DEBIAN_RADARSIM_DESCRIPTION
        "Simulator of a Vantor road radar behind its serial-port server
 A console program that serves an emulated Vantor road traffic radar over the
 serial-port server's WebSocket protocol: traffic on a configurable road,
 every radar command, fault injection, and record and replay of real traffic.")
endif()

get_property(CPACK_COMPONENTS_ALL GLOBAL PROPERTY VANTOR_PACKAGED_COMPONENTS)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_NAME vantor-road-tools)
set(CPACK_PACKAGE_VENDOR Vantor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VANTOR_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
include(CPack)
