# SPDX-License-Identifier: MIT
# Read by cpack for each package it makes: a Debian package installs in Debian's layout for
# games (see the install rules in CMakeLists.txt).
if(CPACK_GENERATOR STREQUAL "DEB")
  set(ENV{XMAS_INSTALL_LAYOUT} "debian")
endif()
