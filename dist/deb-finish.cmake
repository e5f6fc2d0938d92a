# Run by CPack on the staged files just before it packs them. Debian wants
# man pages and the package's changelog compressed with gzip -9n (no time
# stamp, so the bytes do not depend on when the package was made); a plain
# `cmake --install` keeps the man page as it is.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
find_program(GZIP gzip REQUIRED)
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT IS_DIRECTORY ${root}/share/man)
    message(FATAL_ERROR "deb-finish: no share/man under ${root}")
endif()
file(GLOB_RECURSE pages ${root}/share/man/*.[0-9])
foreach(page ${pages})
    execute_process(COMMAND ${GZIP} -9nf ${page} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "deb-finish: gzip failed on ${page}")
    endif()
endforeach()
set(doc ${root}/share/doc/${CPACK_DEBIAN_PACKAGE_NAME})
file(MAKE_DIRECTORY ${doc})
execute_process(COMMAND ${GZIP} -9nc ${CPACK_FLUFF_DEB_CHANGELOG}
                OUTPUT_FILE ${doc}/changelog.Debian.gz RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "deb-finish: cannot compress ${CPACK_FLUFF_DEB_CHANGELOG}")
endif()

# What a plain strip leaves behind and Debian's own packaging removes.
find_program(STRIP_TOOL strip REQUIRED)
file(GLOB programs ${root}/games/*)
foreach(program ${programs})
    execute_process(COMMAND ${STRIP_TOOL} --remove-section=.comment --remove-section=.note
                            ${program} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "deb-finish: strip failed on ${program}")
    endif()
endforeach()
