# The Debian package: what it holds beyond the programs and their desktop entry,
# how CPack describes it, and the tests that open the built package.

set(TENMIREL_PACKAGE_MAINTAINER
    "Tenmirel maintainers <maintainers@users.noreply.c-seed-d6e36be6.example>"
    CACHE STRING "Maintainer field of the Debian package")

# Debian keeps a package's documents under its own lower-case name.
set(tenmirel_docdir ${CMAKE_INSTALL_DATADIR}/doc/tenmirel)

install(FILES ${PROJECT_SOURCE_DIR}/data/sample.vsd ${PROJECT_SOURCE_DIR}/data/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tenmirel)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${tenmirel_docdir})

# Debian wants the changelog compressed, without a time stamp so that two builds
# give the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${changelog} @ONLY)
add_custom_command(
  OUTPUT ${changelog}.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${changelog} > ${changelog}.gz
  DEPENDS ${changelog}
  COMMENT "Compressing the package changelog")
add_custom_target(tenmirel-changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${tenmirel_docdir})

# Manual pages, made from the command line's own help so they never lag behind
# it, and the bash completion of tenmirel-cli.
if(TARGET tenmirel-cli)
  find_program(HELP2MAN_PROGRAM help2man REQUIRED)
  set(man_dir ${CMAKE_CURRENT_BINARY_DIR}/packaging/man)
  set(man_pages ${man_dir}/man1/tenmirel-cli.1.gz ${man_dir}/man1/tenmirel.1.gz ${man_dir}/man1/tenmirel-render.1.gz
                ${man_dir}/ja/man1/tenmirel-cli.1.gz ${man_dir}/ja/man1/tenmirel.1.gz)
  add_custom_command(
    OUTPUT ${man_pages}
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/make-man-pages $<TARGET_FILE:tenmirel-cli> ${PROJECT_VERSION}
            ${PROJECT_SOURCE_DIR} ${man_dir}
    DEPENDS tenmirel-cli ${PROJECT_SOURCE_DIR}/packaging/make-man-pages ${PROJECT_SOURCE_DIR}/packaging/man/tenmirel.1
            ${PROJECT_SOURCE_DIR}/packaging/man/tenmirel-render.1
            ${PROJECT_SOURCE_DIR}/packaging/man/ja/tenmirel.1
    COMMENT "Writing the manual pages")
  add_custom_target(tenmirel-man-pages ALL DEPENDS ${man_pages})
  install(FILES ${man_dir}/man1/tenmirel-cli.1.gz ${man_dir}/man1/tenmirel.1.gz ${man_dir}/man1/tenmirel-render.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${man_dir}/ja/man1/tenmirel-cli.1.gz ${man_dir}/ja/man1/tenmirel.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/bash-completion/tenmirel-cli
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  add_test(NAME package.completion
           COMMAND ${PROJECT_SOURCE_DIR}/packaging/check-completion $<TARGET_FILE:tenmirel-cli> ${PROJECT_SOURCE_DIR})
  set_tests_properties(package.completion PROPERTIES LABELS package)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tenmirel)
set(CPACK_PACKAGE_VENDOR "Tenmirel maintainers")
set(CPACK_PACKAGE_CONTACT ${TENMIREL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME tenmirel)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TENMIREL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the programs themselves; the rest is loaded at run
# time: the Japanese font, Qt's platform plugins and translations, and the time
# zone database.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, qt6-qpa-plugins, qt6-translations-l10n, tzdata")
# CPack indents the lines after the summary and turns the empty one into " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "predictions of variable star minima and maxima (変光星の極大・極小予報)
Tenmirel predicts the minima and maxima of variable stars for an observer:
from a star's light elements (epoch and period) and a local date and time it
finds the next extremum, its local time, cycle number, Julian day and the
star's altitude, steps on cycle by cycle, reads catalogue files of stars and
writes observing lists into spreadsheets.

The package holds the desktop program (tenmirel), its command-line companion
(tenmirel-cli) and a sample catalogue of 39 real stars in /usr/share/tenmirel/.")

include(CPack)

# The tests build the package from this tree into a folder of their own, then
# open it. The sanitizer build is not what anyone ships.
find_program(DPKG_DEB_PROGRAM dpkg-deb)
if(DPKG_DEB_PROGRAM AND TENMIREL_BUILD_UI AND NOT TENMIREL_SANITIZE AND NOT TENMIREL_FUZZ)
  set(check ${PROJECT_SOURCE_DIR}/packaging/check-package)
  set(package_dir ${CMAKE_BINARY_DIR}/package-test)
  add_test(NAME package.build
           COMMAND ${check} build ${CMAKE_BINARY_DIR} ${package_dir})
  add_test(NAME package.contents
           COMMAND ${check} contents ${package_dir} ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION})
  add_test(NAME package.lintian COMMAND ${check} lintian ${package_dir} ${PROJECT_SOURCE_DIR})
  set_tests_properties(package.build PROPERTIES FIXTURES_SETUP tenmirel_package LABELS package)
  set_tests_properties(package.contents package.lintian PROPERTIES
                       FIXTURES_REQUIRED tenmirel_package LABELS package)
  set_tests_properties(package.lintian PROPERTIES SKIP_RETURN_CODE 77)
endif()
