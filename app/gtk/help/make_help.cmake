# Builds the browser help: copies the help pages and writes the offline search page (and,
# when the pages bring no index of their own, a keyword index) next to them.
#   cmake -DSOURCE_DIR=... -DOUTPUT_DIR=... -DTEMPLATE=search.html.in
#         -DCONTENTS_PAGE=... -DINDEX_PAGE=... -DGENERATE_INDEX=ON|OFF -P make_help.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
if(IS_DIRECTORY "${SOURCE_DIR}")
    file(COPY "${SOURCE_DIR}/" DESTINATION "${OUTPUT_DIR}")
    file(GLOB_RECURSE pages RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.htm" "${SOURCE_DIR}/*.html")
    list(SORT pages)
else()
    set(pages "")
endif()

function(plain_text out html)
    string(REGEX REPLACE "<[^>]*>" " " text "${html}")
    string(REPLACE "&nbsp;" " " text "${text}")
    string(REPLACE "&lt;" "<" text "${text}")
    string(REPLACE "&gt;" ">" text "${text}")
    string(REPLACE "&quot;" "\"" text "${text}")
    string(REPLACE "&#39;" "'" text "${text}")
    string(REPLACE "&rsquo;" "'" text "${text}")
    string(REPLACE "&amp;" "&" text "${text}")
    string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")
    string(STRIP "${text}" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# A JavaScript string literal; "<" is escaped so no text can close the script element.
function(js_string out text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "<" "\\u003c" text "${text}")
    set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

function(html_escape out text)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(entries "")
set(index_keys "")
foreach(page IN LISTS pages)
    if(page STREQUAL "search.html" OR (GENERATE_INDEX AND page STREQUAL INDEX_PAGE))
        continue()
    endif()
    file(READ "${SOURCE_DIR}/${page}" html)
    set(title "${page}")
    if(html MATCHES "<[Tt][Ii][Tt][Ll][Ee]>([^<]*)</[Tt][Ii][Tt][Ll][Ee]>")
        plain_text(title "${CMAKE_MATCH_1}")
    endif()
    set(keywords "")
    if(html MATCHES "<meta[^>]*name=\"keywords\"[^>]*>")
        if(CMAKE_MATCH_0 MATCHES "content=\"([^\"]*)\"")
            plain_text(keywords "${CMAKE_MATCH_1}")
        endif()
    endif()
    set(body "${html}")
    string(FIND "${html}" "<body" at)
    if(at GREATER -1)
        string(SUBSTRING "${html}" ${at} -1 body)
    endif()
    plain_text(text "${body}")
    string(SUBSTRING "${text}" 0 6000 text)

    js_string(j_file "${page}")
    js_string(j_title "${title}")
    js_string(j_keywords "${keywords}")
    js_string(j_text "${text}")
    string(APPEND entries "  {file: ${j_file}, title: ${j_title}, keywords: ${j_keywords}, text: ${j_text}},\n")

    string(REPLACE ";" "," keywords "${keywords}")
    string(REPLACE "," ";" key_list "${keywords}")
    foreach(key IN LISTS key_list)
        string(STRIP "${key}" key)
        if(NOT key STREQUAL "")
            string(REPLACE ";" "," safe_title "${title}")
            list(APPEND index_keys "${key}|${page}|${safe_title}")
        endif()
    endforeach()
endforeach()

set(KZ_SEARCH_ENTRIES "${entries}")
set(KZ_CONTENTS_PAGE "${CONTENTS_PAGE}")
set(KZ_INDEX_PAGE "${INDEX_PAGE}")
configure_file("${TEMPLATE}" "${OUTPUT_DIR}/search.html" @ONLY)

if(GENERATE_INDEX)
    list(SORT index_keys CASE INSENSITIVE)
    set(items "")
    foreach(entry IN LISTS index_keys)
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 key)
        list(GET parts 1 page)
        list(GET parts 2 title)
        html_escape(key "${key}")
        html_escape(title "${title}")
        string(APPEND items "  <li>${key} &mdash; <a href=\"${page}\">${title}</a></li>\n")
    endforeach()
    file(WRITE "${OUTPUT_DIR}/${INDEX_PAGE}" "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Index - Kestrane Zivadorured Help</title>
<style>body { font-family: sans-serif; margin: 2em auto; max-width: 46em; padding: 0 1em; } li { margin: 0.3em 0; }</style>
</head>
<body>
<h1>Index</h1>
<ul>
${items}</ul>
<p><a href=\"${CONTENTS_PAGE}\">Contents</a> &middot; <a href=\"search.html\">Search</a></p>
</body>
</html>
")
endif()
