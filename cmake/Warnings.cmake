# Warnings on for every target of the project; zero is the budget.
#   kz_warnings(target)
function(kz_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
        if(KZ_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion
            -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wshadow)
        if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            # Clang's -Wconversion also checks signedness, which GCC's leaves to
            # -Wsign-conversion; both compilers are held to the same set.
            target_compile_options(${target} PRIVATE -Wno-sign-conversion)
        endif()
        if(KZ_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
