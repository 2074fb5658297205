# Manual pages made from the programs themselves: help2man runs each built
# program's --help and --version, so the page says what the program says.
#
#   vindle_add_man_page(<target> "<one line on what it does>")
#
# generates <target>.1.gz at build time, installs it into man1 and adds it to
# vindle_package_contents, the target that builds everything the package holds.

# Not where the built programs cannot run here (a cross build) or should not
# be run at build time (the instrumented builds).
if(UNIX AND NOT (CMAKE_CROSSCOMPILING OR VINDLE_SANITIZE OR VINDLE_FUZZ))
    set(vindle_man_pages_default ON)
else()
    set(vindle_man_pages_default OFF)
endif()
option(VINDLE_MAN_PAGES "Generate the programs' manual pages with help2man"
       ${vindle_man_pages_default})
if(VINDLE_MAN_PAGES)
    find_program(HELP2MAN_PROGRAM help2man REQUIRED)
    find_program(GZIP_PROGRAM gzip REQUIRED)
endif()

if(NOT TARGET vindle_package_contents)
    add_custom_target(vindle_package_contents)
endif()

function(vindle_add_man_page target description)
    add_dependencies(vindle_package_contents ${target})
    if(NOT VINDLE_MAN_PAGES)
        return()
    endif()
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                ${HELP2MAN_PROGRAM} --no-info --section=1 --name=${description}
                --output=${page} $<TARGET_FILE:${target}>
        COMMAND ${GZIP_PROGRAM} -9nf ${page}
        DEPENDS ${target}
        COMMENT "Manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}_man_page ALL DEPENDS ${page}.gz)
    add_dependencies(vindle_package_contents ${target}_man_page)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
