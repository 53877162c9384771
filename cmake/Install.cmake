# What `cmake --install` puts where, and the packages CPack makes of it.
#
# Linux: the command in bin/, its plug-in in WORDLAP_INSTALL_PLUGINDIR
# (lib/wordlap/Wordlap.so), the man page, the bash and zsh completions and
# the README; packaged as a .deb. The Windows cross build: the plug-in DLL
# and a text for the users of the host; packaged as a ZIP.
set(WORDLAP_INSTALL_BASH_COMPLETIONDIR
    "${CMAKE_INSTALL_DATADIR}/bash-completion/completions" CACHE PATH
    "Where the bash completion is installed, relative to the prefix")
# Debian's zsh looks in vendor-completions for packaged functions.
set(WORDLAP_INSTALL_ZSH_COMPLETIONDIR
    "${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions" CACHE PATH
    "Where the zsh completion is installed, relative to the prefix")

set(CPACK_PACKAGE_NAME wordlap)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvane <wordlap@orvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "finds files whose names look like duplicates, by the words they share")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

if(WIN32)
  install(TARGETS Wordlap LIBRARY DESTINATION . RUNTIME DESTINATION .)
  # A text for Windows users: CR LF line ends.
  configure_file(${PROJECT_SOURCE_DIR}/doc/Wordlap.txt
                 ${PROJECT_BINARY_DIR}/Wordlap.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/Wordlap.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Wordlap-${PROJECT_VERSION}-win32)
else()
  install(TARGETS wordlap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS Wordlap LIBRARY DESTINATION ${WORDLAP_INSTALL_PLUGINDIR})
  install(FILES ${WORDLAP_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/completions/wordlap.bash
          DESTINATION ${WORDLAP_INSTALL_BASH_COMPLETIONDIR} RENAME wordlap)
  install(FILES ${PROJECT_SOURCE_DIR}/completions/_wordlap
          DESTINATION ${WORDLAP_INSTALL_ZSH_COMPLETIONDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/README.md
                ${PROJECT_SOURCE_DIR}/doc/report-format.md
          DESTINATION ${CMAKE_INSTALL_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "wordlap scans folders and file lists for files whose names match by the
words they share, with exactly the verdict of the Wordlap comparison
plug-in, which it includes; it also shows what the plug-in says about
itself and explains a comparison step by step.")
endif()

include(CPack)
