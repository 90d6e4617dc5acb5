# SPDX-License-Identifier: MIT
# cmake -DTEMPLATE=service-worker.js.in -DOUTPUT=service-worker.js -DDIR=FOLDER
#       -DCACHED="a;b" -DHASHED="a;b;c" -P WebServiceWorker.cmake
# Writes the page's service worker: the files it keeps (CACHED, names in FOLDER), each with the
# SHA-256 of its contents, and a name for its cache made from the SHA-256 of the contents of
# HASHED, so that the same files give the same worker byte for byte and any changed file gives
# a new one.
set(listing "")
foreach(name IN LISTS HASHED)
  file(SHA256 "${DIR}/${name}" hash)
  string(APPEND listing "${hash}  ${name}\n")
endforeach()
string(SHA256 hash "${listing}")
string(SUBSTRING "${hash}" 0 16 XMAS_WEB_HASH)
set(entries "")
foreach(name IN LISTS CACHED)
  file(SHA256 "${DIR}/${name}" hash)
  list(APPEND entries "\n  '${name}': '${hash}'")
endforeach()
list(JOIN entries "," XMAS_WEB_FILES)
string(APPEND XMAS_WEB_FILES "\n")
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
