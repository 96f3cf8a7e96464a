# Builds the browser help: copies the help pages and writes the offline search page (and,
# when the pages bring no index of their own, a keyword index) next to them.
#   cmake -DSOURCE_DIR=... [-DEXTRA_DIR=...] [-DFRAGMENT_DIR=...] -DOUTPUT_DIR=...
#         -DTEMPLATE=search.html.in -DCONTENTS_PAGE=... -DINDEX_PAGE=... -DGENERATE_INDEX=ON|OFF
#         -P make_help.cmake
#
# EXTRA_DIR (SOURCE_DIR with "-extra" appended unless given) holds the pages of what only the
# Linux program and the page have, which the Windows help file must not describe. They join
# the pages here; its contents-topics.inc, lines of the contents page's topic list, takes the
# place of the comment <!-- more topics --> in the contents page. Every other NAME.inc of
# EXTRA_DIR or of FRAGMENT_DIR (fragments written at build time) takes the place of the
# comment <!-- NAME --> wherever a page has it; a fragment no page asks for is an error.
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED EXTRA_DIR)
    set(EXTRA_DIR "${SOURCE_DIR}-extra")
endif()
set(extra_topics_file "contents-topics.inc")
set(extra_topics_marker "<!-- more topics -->")

file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
if(IS_DIRECTORY "${SOURCE_DIR}")
    # The Windows help project files (.hhp, .hhc, .hhk) are sources, not pages.
    file(COPY "${SOURCE_DIR}/" DESTINATION "${OUTPUT_DIR}" PATTERN "*.hh?" EXCLUDE)
    file(GLOB_RECURSE pages RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.htm" "${SOURCE_DIR}/*.html")
    list(SORT pages)
else()
    set(pages "")
endif()
set(extra_pages "")
if(IS_DIRECTORY "${EXTRA_DIR}")
    file(COPY "${EXTRA_DIR}/" DESTINATION "${OUTPUT_DIR}" PATTERN "*.inc" EXCLUDE)
    file(GLOB_RECURSE extra_pages RELATIVE "${EXTRA_DIR}" "${EXTRA_DIR}/*.htm" "${EXTRA_DIR}/*.html")
    list(SORT extra_pages)
    foreach(page IN LISTS extra_pages)
        if(page IN_LIST pages)
            message(FATAL_ERROR "${page} is in both ${SOURCE_DIR} and ${EXTRA_DIR}")
        endif()
    endforeach()
    list(APPEND pages ${extra_pages})
endif()

# The fragments that fill a page's <!-- NAME --> comments, as NAME|file.
set(fragments "")
foreach(dir IN ITEMS "${EXTRA_DIR}" "${FRAGMENT_DIR}")
    if(NOT dir STREQUAL "" AND IS_DIRECTORY "${dir}")
        file(GLOB found "${dir}/*.inc")
        foreach(file IN LISTS found)
            get_filename_component(name "${file}" NAME_WE)
            if(NOT name STREQUAL "contents-topics")
                list(APPEND fragments "${name}|${file}")
            endif()
        endforeach()
    endif()
endforeach()
set(fragments_used "")

# The page with each fragment in place of its comment.
function(add_fragments out html)
    foreach(fragment IN LISTS fragments)
        string(REPLACE "|" ";" parts "${fragment}")
        list(GET parts 0 name)
        list(GET parts 1 file)
        string(FIND "${html}" "<!-- ${name} -->" at)
        if(at GREATER -1)
            file(READ "${file}" text)
            string(STRIP "${text}" text)
            string(REPLACE "<!-- ${name} -->" "${text}" html "${html}")
            list(APPEND fragments_used "${name}")
        endif()
    endforeach()
    set(fragments_used "${fragments_used}" PARENT_SCOPE)
    set(${out} "${html}" PARENT_SCOPE)
endfunction()

# The folder a page comes from.
function(page_source out page)
    if(page IN_LIST extra_pages)
        set(${out} "${EXTRA_DIR}/${page}" PARENT_SCOPE)
    else()
        set(${out} "${SOURCE_DIR}/${page}" PARENT_SCOPE)
    endif()
endfunction()

# The contents page with the extra topics in its list.
function(add_extra_topics out html)
    if(EXISTS "${EXTRA_DIR}/${extra_topics_file}")
        string(FIND "${html}" "${extra_topics_marker}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "${CONTENTS_PAGE} has no ${extra_topics_marker} for the topics of ${EXTRA_DIR}")
        endif()
        file(READ "${EXTRA_DIR}/${extra_topics_file}" topics)
        string(STRIP "${topics}" topics)
        string(REPLACE "${extra_topics_marker}" "${topics}" html "${html}")
    endif()
    set(${out} "${html}" PARENT_SCOPE)
endfunction()

# Inline elements join the text around them ("<strong>YOU WIN!</strong>, the" reads
# "YOU WIN!, the"); every other tag separates words.
set(inline_tags "[Aa]|[Bb]|[Ii]|[Uu]|[Ee][Mm]|[Ss][Tt][Rr][Oo][Nn][Gg]|[Ss][Pp][Aa][Nn]|[Cc][Oo][Dd][Ee]|[Kk][Bb][Dd]|[Ss][Mm][Aa][Ll][Ll]|[Ss][Uu][Bb]|[Ss][Uu][Pp]|[Mm][Aa][Rr][Kk]|[Aa][Bb][Bb][Rr]")
function(plain_text out html)
    string(REGEX REPLACE "</?(${inline_tags})([ \t\r\n][^>]*)?>" "" text "${html}")
    string(REGEX REPLACE "<[^>]*>" " " text "${text}")
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

# The navigation footer every page ends with: <p class="nav">...</p>. Sets <out>_start to
# its offset and <out>_end to the offset after it, or both to -1.
function(find_nav out html)
    string(FIND "${html}" "<p class=\"nav\">" start)
    set(end -1)
    if(start GREATER -1)
        string(SUBSTRING "${html}" ${start} -1 rest)
        string(FIND "${rest}" "</p>" length)
        if(length GREATER -1)
            math(EXPR end "${start} + ${length} + 4")
        else()
            set(start -1)
        endif()
    endif()
    set(${out}_start ${start} PARENT_SCOPE)
    set(${out}_end ${end} PARENT_SCOPE)
endfunction()

# The page without its footer: the same links on every page would make every page match.
function(without_nav out html)
    find_nav(nav "${html}")
    if(nav_start GREATER -1)
        string(SUBSTRING "${html}" 0 ${nav_start} before)
        string(SUBSTRING "${html}" ${nav_end} -1 after)
        set(html "${before} ${after}")
    endif()
    set(${out} "${html}" PARENT_SCOPE)
endfunction()

# In the browser the Index and Search are pages of their own (the Windows viewer has them as
# tabs): the footer of each page gains links to them beside its link to the contents.
set(help_links "<a href=\"${INDEX_PAGE}\">Index</a> | <a href=\"search.html\">Search</a>")
function(add_help_links out html)
    set(contents_link "<a href=\"${CONTENTS_PAGE}\">Contents</a>")
    find_nav(nav "${html}")
    if(nav_start EQUAL -1)
        string(FIND "${html}" "</body>" at)
        if(at EQUAL -1)
            string(LENGTH "${html}" at)
        endif()
        string(SUBSTRING "${html}" 0 ${at} before)
        string(SUBSTRING "${html}" ${at} -1 after)
        set(html "${before}<p class=\"nav\">${contents_link} | ${help_links}</p>\n${after}")
    else()
        math(EXPR length "${nav_end} - ${nav_start}")
        string(SUBSTRING "${html}" 0 ${nav_start} before)
        string(SUBSTRING "${html}" ${nav_start} ${length} nav)
        string(SUBSTRING "${html}" ${nav_end} -1 after)
        string(FIND "${nav}" "${contents_link}" at)
        if(at GREATER -1)
            string(REPLACE "${contents_link}" "${contents_link} | ${help_links}" nav "${nav}")
        else()
            string(REPLACE "<p class=\"nav\">" "<p class=\"nav\">${contents_link} | ${help_links} | "
                   nav "${nav}")
        endif()
        set(html "${before}${nav}${after}")
    endif()
    set(${out} "${html}" PARENT_SCOPE)
endfunction()

# Keywords of the Windows help index (.hhk sitemaps): each Name belongs to the Local pages
# that follow it.
set(hhk_keys "")
if(IS_DIRECTORY "${SOURCE_DIR}")
    file(GLOB hhk_files "${SOURCE_DIR}/*.hhk")
endif()
foreach(hhk IN LISTS hhk_files)
    file(READ "${hhk}" sitemap)
    string(REGEX MATCHALL "<[Pp][Aa][Rr][Aa][Mm][ \t\r\n]+[Nn][Aa][Mm][Ee]=\"(Name|Local)\"[ \t\r\n]+[Vv][Aa][Ll][Uu][Ee]=\"[^\"]*\""
           params "${sitemap}")
    set(name "")
    foreach(param IN LISTS params)
        string(REGEX MATCH "\"(Name|Local)\"[ \t\r\n]+[Vv][Aa][Ll][Uu][Ee]=\"([^\"]*)\"" _ "${param}")
        if(CMAKE_MATCH_1 STREQUAL "Name")
            plain_text(name "${CMAKE_MATCH_2}")
            string(REPLACE ";" "," name "${name}")
            string(REPLACE "|" "/" name "${name}")
        elseif(NOT name STREQUAL "")
            list(APPEND hhk_keys "${name}|${CMAKE_MATCH_2}")
        endif()
    endforeach()
endforeach()

set(entries "")
set(index_keys "")
foreach(page IN LISTS pages)
    if(page STREQUAL "search.html" OR (GENERATE_INDEX AND page STREQUAL INDEX_PAGE))
        continue()
    endif()
    page_source(source "${page}")
    file(READ "${source}" html)
    if(page STREQUAL CONTENTS_PAGE)
        add_extra_topics(html "${html}")
    endif()
    add_fragments(html "${html}")
    set(title "${page}")
    if(html MATCHES "<[Tt][Ii][Tt][Ll][Ee]>([^<]*)</[Tt][Ii][Tt][Ll][Ee]>")
        plain_text(title "${CMAKE_MATCH_1}")
    endif()
    # Keywords from the page's keywords meta tag (comma separated) and from the help index.
    set(key_list "")
    if(html MATCHES "<meta[^>]*name=\"keywords\"[^>]*>")
        if(CMAKE_MATCH_0 MATCHES "content=\"([^\"]*)\"")
            plain_text(meta_keys "${CMAKE_MATCH_1}")
            string(REPLACE ";" "," meta_keys "${meta_keys}")
            string(REPLACE "," ";" meta_keys "${meta_keys}")
            foreach(key IN LISTS meta_keys)
                string(STRIP "${key}" key)
                list(APPEND key_list "${key}")
            endforeach()
        endif()
    endif()
    foreach(entry IN LISTS hhk_keys)
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 1 local)
        if(local STREQUAL page)
            list(GET parts 0 key)
            list(APPEND key_list "${key}")
        endif()
    endforeach()
    list(REMOVE_ITEM key_list "")
    list(REMOVE_DUPLICATES key_list)
    list(JOIN key_list ", " keywords)
    set(body "${html}")
    string(FIND "${html}" "<body" at)
    if(at GREATER -1)
        string(SUBSTRING "${html}" ${at} -1 body)
    endif()
    without_nav(body "${body}")
    plain_text(text "${body}")
    string(SUBSTRING "${text}" 0 6000 text)

    add_help_links(staged "${html}")
    file(WRITE "${OUTPUT_DIR}/${page}" "${staged}")

    js_string(j_file "${page}")
    js_string(j_title "${title}")
    js_string(j_keywords "${keywords}")
    js_string(j_text "${text}")
    string(APPEND entries "  {file: ${j_file}, title: ${j_title}, keywords: ${j_keywords}, text: ${j_text}},\n")

    string(REPLACE ";" "," safe_title "${title}")
    string(REPLACE "|" "/" safe_title "${safe_title}")
    foreach(key IN LISTS key_list)
        # Sorted on the keyword, then the title, each in lower case and ended by a tab: a
        # reader expects "Add" before "Add From None", and a tab sorts before every letter.
        string(TOLOWER "${key}\t${safe_title}\t" order)
        list(APPEND index_keys "${order}${key}|${page}|${safe_title}")
    endforeach()
endforeach()

foreach(fragment IN LISTS fragments)
    string(REPLACE "|" ";" parts "${fragment}")
    list(GET parts 0 name)
    if(NOT name IN_LIST fragments_used)
        message(FATAL_ERROR "no help page has the comment <!-- ${name} --> for ${name}.inc")
    endif()
endforeach()

set(KZ_SEARCH_ENTRIES "${entries}")
set(KZ_CONTENTS_PAGE "${CONTENTS_PAGE}")
set(KZ_INDEX_PAGE "${INDEX_PAGE}")
configure_file("${TEMPLATE}" "${OUTPUT_DIR}/search.html" @ONLY)

if(GENERATE_INDEX)
    list(SORT index_keys)
    set(items "")
    foreach(entry IN LISTS index_keys)
        string(REGEX REPLACE "^[^\t]*\t[^\t]*\t" "" entry "${entry}")
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
<link rel=\"stylesheet\" href=\"style.css\">
<style>li { margin: 0.25em 0; }</style>
</head>
<body>
<h1>Index</h1>
<ul>
${items}</ul>
<p class=\"nav\"><a href=\"${CONTENTS_PAGE}\">Contents</a> | ${help_links}</p>
</body>
</html>
")
endif()
