# Options shared by every target of the project: warnings are errors, and the
# GCC runtimes are linked in so that each binary needs only Windows DLLs.
function(ks_project_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    # NOMINMAX: the platform's min/max macros break std::min and friends.
    target_compile_definitions(${target} PRIVATE NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    target_link_options(${target} PRIVATE -static)
endfunction()

# ks_add_program(name SOURCES…): a Windows program of ours.
function(ks_add_program name)
    add_executable(${name} ${ARGN})
    ks_project_options(${name})
    target_link_libraries(${name} PRIVATE Kestrel5)
endfunction()
