# Warnings on for every target of the project; zero is the budget.
#   kz_warnings(target)          the full set
#   kz_warnings(target RELAXED)  without the stricter checks, for code not yet brought up to them
function(kz_warnings target)
    cmake_parse_arguments(ARG "RELAXED" "" "" ${ARGN})
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
        if(KZ_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
        if(NOT ARG_RELAXED)
            target_compile_options(${target} PRIVATE -Wpedantic -Wconversion -Wold-style-cast
                -Wnon-virtual-dtor -Woverloaded-virtual -Wshadow)
            if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
                # Clang's -Wconversion also checks signedness, which GCC's leaves to
                # -Wsign-conversion; both compilers are held to the same set.
                target_compile_options(${target} PRIVATE -Wno-sign-conversion)
            endif()
        endif()
        if(KZ_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
