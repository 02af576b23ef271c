# The Debian package: `cpack -G DEB` in a release build tree gives mosaiqua_<version>_<arch>.deb.
include(GNUInstallDirs)

set(MOSAIQUA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mosaiqua)
set(MOSAIQUA_APPSTREAM_ID example.tessaluma.mosaiqua)
set(docs ${CMAKE_BINARY_DIR}/packaging)

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no name, no time).
find_program(GZIP_EXECUTABLE gzip REQUIRED)
find_program(HELP2MAN_EXECUTABLE help2man)
set(doc_outputs ${docs}/changelog.gz)
add_custom_command(
  OUTPUT ${docs}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
  COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${docs}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
if(HELP2MAN_EXECUTABLE)
  add_custom_command(
    OUTPUT ${docs}/mosaiqua-cli.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
    # The version given here, so the page is named after the program, not its --version banner.
    COMMAND ${HELP2MAN_EXECUTABLE} --no-info --no-discard-stderr --section=1 --version-string=${PROJECT_VERSION}
            "--name=save C64 sprites and character sets from emulator snapshots as BMP files"
            --output=${docs}/mosaiqua-cli.1 $<TARGET_FILE:mosaiqua-cli>
    COMMAND ${GZIP_EXECUTABLE} -9nf ${docs}/mosaiqua-cli.1
    DEPENDS mosaiqua-cli
    COMMENT "Writing the manual page of mosaiqua-cli from its --help"
    VERBATIM)
  list(APPEND doc_outputs ${docs}/mosaiqua-cli.1.gz)
  install(FILES ${docs}/mosaiqua-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: the package will lack the manual page of mosaiqua-cli")
endif()
if(MOSAIQUA_BUILD_UI)
  add_custom_command(
    OUTPUT ${docs}/mosaiqua.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/packaging/mosaiqua.1 > ${docs}/mosaiqua.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/mosaiqua.1
    VERBATIM)
  list(APPEND doc_outputs ${docs}/mosaiqua.1.gz)
  install(FILES ${docs}/mosaiqua.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${MOSAIQUA_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
add_custom_target(mosaiqua-docs ALL DEPENDS ${doc_outputs})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${docs}/changelog.gz DESTINATION ${MOSAIQUA_DOC_DIR})

set(CPACK_PACKAGE_NAME mosaiqua)
set(CPACK_PACKAGE_VENDOR "the Mosaiqua developers")
set(CPACK_PACKAGE_CONTACT "the Mosaiqua developers <mosaiqua@tessaluma.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "C64 sprite and character-set ripper for emulator snapshots")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.tessaluma.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mosaiqua opens a CCS64 freeze file, or any file that holds Commodore 64
memory from its first byte, and shows the 64 KB the way the VIC-II chip
draws it: sprites (hi-res or multicolour, actual size and enlarged) and
character sets in three arrangements. What the viewers show can be saved
as BMP files or copied to the clipboard.
.
The package holds the window program, mosaiqua, and a command-line front
end, mosaiqua-cli, that saves the same pictures without a window.")
include(CPack)
