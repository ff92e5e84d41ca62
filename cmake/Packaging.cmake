# `cpack -G DEB` in the build folder makes the Debian package. Its Depends
# come from the shared libraries the installed program really uses
# (dpkg-shlibdeps), plus the web engine's own data and process, which it
# loads at run time.
set(CPACK_PACKAGE_NAME quillmart)
set(CPACK_PACKAGE_VENDOR "Quillmart")
set(CPACK_PACKAGE_CONTACT "Quillmart maintainers <maintainers@quillmart.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web browser and shop generator for a small on-line merchant")
# The summary above is the first line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillmart is two windows of one program. Its web browser harvests links,
pictures and contacts from the web, crawls pages for keywords and writes
reports. Its store generator keeps a shop project, writes a static shop site
from it, publishes the site and takes the shoppers' order e-mails into an
order database.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# Mail and the desktop's programs are started through xdg-utils.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillmart.example/")
include(CPack)
