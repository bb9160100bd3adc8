# Installing KOVA X (`cmake --install build`) and its Debian package (`cpack -G DEB` in the
# build folder, see scripts/package.sh). The programs find the demo linacs and their
# configuration folder from their own place (<prefix>/bin), so one build serves any prefix.
include(GNUInstallDirs)

install(TARGETS lnc kova-mu RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kovax)
    install(TARGETS kovax RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# kova-mu's plug-ins, loaded only for --rtplan (DCMTK), --report (Qt Gui) and --record and
# --history (Qt SQL). kova-mu finds
# them at <its folder>/../lib/kovax, so the folder is lib/kovax under every prefix (not the
# multiarch library folder). Not executable, as Debian keeps shared objects.
foreach(plugin kova_mu_dicom kova_mu_report kova_mu_record)
    if(TARGET ${plugin})
        install(TARGETS ${plugin} LIBRARY DESTINATION lib/kovax
                PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()
endforeach()
# Debian keeps a package's documents under the package's name.
set(KOVA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kovax)
install(FILES README.md DESTINATION ${KOVA_DOC_DIR})
# The example beam files, with the MLC file one of them names, so the installed kova-mu can
# be tried on the installed demo linacs.
install(DIRECTORY examples/ DESTINATION ${KOVA_DOC_DIR}/examples)

set(CPACK_PACKAGE_NAME kovax)
set(CPACK_PACKAGE_VENDOR "KOVA X")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "KOVA X developers <kovax@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "independent monitor unit check for radiotherapy linacs")
# The summary is the package's first description line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "KOVA X computes the monitor units a linear accelerator must deliver so that a\n"
    "prescribed dose reaches a point in the patient, shows every factor of that\n"
    "figure and prints the results. It checks the MU of a treatment planning system,\n"
    "also from DICOM RT Plans. The package holds the desktop program kovax, the batch\n"
    "check kova-mu, the linac file tool lnc and demo linacs (typical published\n"
    "values, not for clinical use).")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps, which reads the programs and kova-mu's plug-ins
# (CPack gives it every ELF file of the package); what the programs load without linking it
# goes here: the toolkit's platform plugins (the window, and kova-mu's offscreen report), the
# SQLite driver of Qt SQL (the record of checks is an SQLite file by default) and the fonts
# the printed pages are measured and set in. The PostgreSQL driver is recommended: only a
# department that shares one record on a server needs it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The package carries the programs without their debugging sections.
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
