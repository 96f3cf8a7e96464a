# Writes the service worker of a staged page: the list of every file it keeps for offline
# use, and a version made from their contents, so a changed file brings a new worker.
#   cmake -DPAGE_DIR=... -DTEMPLATE=service-worker.js.in -P make_service_worker.cmake
cmake_minimum_required(VERSION 3.25)

file(GLOB_RECURSE files RELATIVE "${PAGE_DIR}" "${PAGE_DIR}/*")
list(REMOVE_ITEM files "service-worker.js")
list(SORT files)
set(list "\n    \"./\",\n")
set(digests "")
foreach(file IN LISTS files)
    file(SHA256 "${PAGE_DIR}/${file}" digest)
    string(APPEND digests "${file} ${digest}\n")
    string(APPEND list "    \"${file}\",\n")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 16 KZ_CACHE_VERSION)
set(KZ_CACHED_FILES "${list}")
configure_file("${TEMPLATE}" "${PAGE_DIR}/service-worker.js" @ONLY)
