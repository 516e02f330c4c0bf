# What `cmake --install` puts where, and the packages CPack makes of it:
#   Linux:   cpack -G DEB   (programs in bin/, tuner libraries in a private
#                            folder under the multiarch library folder)
#   Windows: cpack -G ZIP   (the program, the script host and the virtual
#                            card's quorvex.dll side by side)
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME quorvexdemo)
set(CPACK_PACKAGE_VENDOR "QuorvexDemo developers")
set(CPACK_PACKAGE_CONTACT "QuorvexDemo developers <dev@quorvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "test and demonstration program for Quorvex tuner cards")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quorvex.example/demo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Windows loads a DLL from the folder of the executable before any other,
  # so the card maker's quorvex.dll simply takes the virtual card's place.
  install(TARGETS QuorvexDemo quorvexdemo-headless quorvex-compliance quorvex-sweep quorvex
          RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/windows-readme.txt DESTINATION . RENAME README.txt)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
  set(CPACK_GENERATOR ZIP)
  include(CPack)
  return()
endif()

# The tuner libraries live in a folder of their own, named like any other
# library: the virtual card there (found by default), its reduced builds and
# the Linux DVB build in subfolders.
set(QV_INSTALL_PKGLIBDIR ${CMAKE_INSTALL_LIBDIR}/quorvexdemo)
file(RELATIVE_PATH _qv_bin_to_lib ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${QV_INSTALL_PKGLIBDIR})

# The programs load libquorvex.so by its bare name, so they carry the folder as
# a RUNPATH relative to themselves (a tree installed anywhere keeps working);
# LD_LIBRARY_PATH still puts another library in front.
set(_qv_programs quorvexdemo-headless quorvex-compliance quorvex-sweep)
if(TARGET quorvexdemo)
  list(APPEND _qv_programs quorvexdemo)
endif()
set_target_properties(${_qv_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${_qv_bin_to_lib}")
install(TARGETS ${_qv_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(TARGETS quorvex LIBRARY DESTINATION ${QV_INSTALL_PKGLIBDIR} NAMELINK_SKIP)
foreach(_variant critical nostartdvb legacy nosetfilter exonly nocaps getsignal strength
        nosenddiseqc)
  install(TARGETS quorvex_${_variant} LIBRARY DESTINATION ${QV_INSTALL_PKGLIBDIR}/${_variant})
endforeach()
if(TARGET quorvex_linuxdvb)
  install(TARGETS quorvex_linuxdvb LIBRARY DESTINATION ${QV_INSTALL_PKGLIBDIR}/linuxdvb)
endif()

if(TARGET quorvexdemo)
  # The window on real cards: the same program with the Linux DVB library in
  # front of the virtual card.
  set(QV_LINUXDVB_DIR ${CMAKE_INSTALL_FULL_LIBDIR}/quorvexdemo/linuxdvb)
  set(QV_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}/quorvexdemo)
  configure_file(${PROJECT_SOURCE_DIR}/res/unix/quorvexdemo-linuxdvb.in
                 ${CMAKE_BINARY_DIR}/unix/quorvexdemo-linuxdvb @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/unix/quorvexdemo-linuxdvb
          DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/res/unix/quorvexdemo.desktop
                ${PROJECT_SOURCE_DIR}/res/unix/quorvexdemo-linuxdvb.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(_size 16 24 32 48 64 256)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/quorvex_${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
            RENAME quorvexdemo.png)
  endforeach()
endif()

# Manual pages and the package's documentation, compressed as Debian wants
# them (gzip -n: no name or time stamp, so the package builds reproducibly).
find_program(QV_GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/unix)
set(_qv_pages quorvexdemo.1 quorvexdemo-headless.1 quorvex-compliance.1 quorvex-sweep.1)
set(_qv_compressed "")
foreach(_page IN LISTS _qv_pages ITEMS changelog)
  if(_page STREQUAL "changelog")
    set(_src ${PROJECT_SOURCE_DIR}/docs/changelog)
  else()
    set(_src ${PROJECT_SOURCE_DIR}/docs/man/${_page})
  endif()
  set(_out ${CMAKE_BINARY_DIR}/unix/${_page}.gz)
  add_custom_command(OUTPUT ${_out} COMMAND ${QV_GZIP} -9n -c ${_src} > ${_out}
                     DEPENDS ${_src} VERBATIM)
  list(APPEND _qv_compressed ${_out})
endforeach()
add_custom_target(qv_unix_docs ALL DEPENDS ${_qv_compressed})
list(TRANSFORM _qv_pages PREPEND ${CMAKE_BINARY_DIR}/unix/)
list(TRANSFORM _qv_pages APPEND .gz)
install(FILES ${_qv_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET quorvexdemo)
  # The launcher is described on the program's own page.
  file(CREATE_LINK quorvexdemo.1.gz ${CMAKE_BINARY_DIR}/unix/quorvexdemo-linuxdvb.1.gz SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/unix/quorvexdemo-linuxdvb.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
set(_qv_docdir ${CMAKE_INSTALL_DATADIR}/doc/quorvexdemo)
install(FILES ${CMAKE_BINARY_DIR}/unix/changelog.gz ${PROJECT_SOURCE_DIR}/docs/copyright
        DESTINATION ${_qv_docdir})
install(FILES ${PROJECT_SOURCE_DIR}/scripts/tour.qvs DESTINATION ${_qv_docdir}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The sweep's channel files: the tables it is made to read, not needed to run.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS dtv-scan-tables)
# CPack puts the summary first; this is the extended description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "QuorvexDemo loads a tuner card maker's library at run time and drives it from
one dialog: device selection, tuning, the signal monitor, DiSEqC commands,
remote-control codes, recording one PID of the transport stream, EEPROM backup
and restore, and multistream selection. Every call and outcome is logged.
.
The package holds the window (quorvexdemo), a script host that runs the same
program without a window (quorvexdemo-headless), a checker of any tuner library
against the contract (quorvex-compliance), a sweep of every transponder of a
channel file through the library (quorvex-sweep), a virtual card that stands
in when no card is present, and a build of the tuner library for every card
the Linux DVB API supports (quorvexdemo-linuxdvb).")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
