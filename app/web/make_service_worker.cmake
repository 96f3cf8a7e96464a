# Writes the service worker of a staged page: the list of every file it keeps for offline
# use, and a version made from their contents, so a changed file brings a new worker. The
# larger sets of pictures (art-*.webp) are not on that list: the worker keeps the one a
# screen has used when the page asks it to.
#   cmake -DPAGE_DIR=... -DTEMPLATE=service-worker.js.in -P make_service_worker.cmake
cmake_minimum_required(VERSION 3.25)

file(GLOB_RECURSE files RELATIVE "${PAGE_DIR}" "${PAGE_DIR}/*")
list(REMOVE_ITEM files "service-worker.js")
list(SORT files)
set(list "\n    \"./\",\n")
set(art "")
set(digests "")
foreach(file IN LISTS files)
    file(SHA256 "${PAGE_DIR}/${file}" digest)
    string(APPEND digests "${file} ${digest}\n")
    if(file MATCHES "^art-[0-9]+x\\.webp$")
        string(APPEND art "\"${file}\", ")
    else()
        string(APPEND list "    \"${file}\",\n")
    endif()
endforeach()
string(REGEX REPLACE ", $" "" KZ_ART_FILES "${art}")
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 16 KZ_CACHE_VERSION)
set(KZ_CACHED_FILES "${list}")
configure_file("${TEMPLATE}" "${PAGE_DIR}/service-worker.js" @ONLY)
