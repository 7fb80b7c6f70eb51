# The Debian package (cpack -G DEB in a build tree). Read by the top-level
# CMakeLists.txt right before include(CPack), which takes its settings from
# that directory's variables.

set(CPACK_PACKAGE_NAME tallyfern)
set(CPACK_PACKAGE_VENDOR "Tallyfern maintainers")
set(CPACK_PACKAGE_CONTACT "Tallyfern maintainers <maintainers@users.noreply.c-seed-e8c85f78.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "expression calculator that shows the natural written form")
# Debian wants the long description in lines of at most 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tallyfern computes expressions typed in one line: numbers, the four"
  "operations, powers, parentheses, variables and functions such as sin, log"
  "and abs. Each result comes with the expression in its natural written form,"
  "with fractions over a rule and raised exponents."
  "The package holds the desktop window tallyfern, whose texts are in Chinese,"
  "and the console program tallyfern-cli.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tallyfern)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link are found by dpkg-shlibdeps (package
# dpkg-dev). What they only open at run time is named here: Qt's window-system
# plugins, without which the window cannot open, Qt's own translations (its
# dialogs' buttons and the text boxes' menus in Chinese), and a font with
# Chinese characters for its texts. The console program opens libedit for
# line editing at a terminal when it is there; the window runs natively on a
# Wayland desktop with Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TALLYFERN_WINDOW)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-zenhei | fonts-noto-cjk | fonts-arphic-uming")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libedit2, qt6-wayland, fonts-dejavu-core")
else()
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libedit2")
endif()
set(CPACK_GENERATOR DEB)
# `make package_source` packs the sources, without the build trees that live
# in the checkout and without git's files.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/\\\\.git$" "/build[^/]*/")
