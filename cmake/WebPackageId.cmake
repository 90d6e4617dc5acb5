# SPDX-License-Identifier: MIT
# cmake -DSCRIPT=page.js -DDATA=page.data -P WebPackageId.cmake
# Replaces the random "package_uuid" that Emscripten's file packager writes into the page's
# script by one made from the SHA-256 of the data file, so that equal data gives an equal
# script. A script without a package id (no data file) is left as it is.
file(READ "${SCRIPT}" script)
set(id_pattern "\"package_uuid\": *\"[0-9a-f-]+\"")
if(NOT script MATCHES "${id_pattern}")
  return()
endif()
file(SHA256 "${DATA}" hash)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id
       "${hash}")
string(REGEX REPLACE "${id_pattern}" "\"package_uuid\": \"${id}\"" stable "${script}")
if(NOT stable STREQUAL script)
  file(WRITE "${SCRIPT}" "${stable}")
endif()
