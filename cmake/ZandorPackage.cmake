# `cpack -G DEB` in a build folder makes zandor_<version>_<arch>.deb from the
# install rules. The library dependencies are read off the binaries by
# dpkg-shlibdeps (from dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zandor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zandor developers")
set(CPACK_PACKAGE_CONTACT "Zandor developers <zandor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "keeps a Maildir and a Kelvo handheld in step over a serial line")
set(CPACK_PACKAGE_DESCRIPTION
  "Zandor synchronises the mail of a Maildir with the message store of a Kelvo
handheld organiser over a serial cable: the messages written on the Kelvo
become drafts in the mail, the mail of the chosen folders and date range goes
to the Kelvo, and on request what was deleted on one side goes from the other.
It runs as a window or, with --sync, without one. The package also holds
kelvo-sim, which plays a Kelvo on a pseudo-terminal for trying Zandor out.")

set(CPACK_DEBIAN_PACKAGE_NAME zandor)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zandor developers <zandor@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Qt loads its SVG plug-ins (for the SVG icon) at run time, where
# dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libqt6svg6)

include(CPack)
