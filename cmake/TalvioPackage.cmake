# The Debian package: what an installation holds beyond the programs and libraries (the man page,
# the desktop entry and its icon, the bash completion, the Calc extension), and how cpack -G DEB
# packs it. Configure with -DCMAKE_INSTALL_PREFIX=/usr for a package: the library finds the
# installed message file at the path compiled in from the prefix.

# The man page of talvio, written by help2man from the program's own --help and --version (so it
# never disagrees with the program) and the sections in data/man.
find_program(TALVIO_HELP2MAN help2man REQUIRED)
set(talvio_man_dir ${PROJECT_BINARY_DIR}/share/man/man1)
set(talvio_man_sections ${PROJECT_SOURCE_DIR}/data/man/talvio.h2m)
add_custom_command(
    OUTPUT ${talvio_man_dir}/talvio.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${talvio_man_dir}
    COMMAND ${TALVIO_HELP2MAN} --no-info --no-discard-stderr --include ${talvio_man_sections}
            --name "convert amounts between currencies and manage Talvio's settings"
            --section 1 --output ${talvio_man_dir}/talvio.1 $<TARGET_FILE:talvio>
    COMMAND gzip -n -9 -f ${talvio_man_dir}/talvio.1
    DEPENDS talvio talvio_messages ${talvio_man_sections}
    COMMENT "Writing the man page talvio.1"
    VERBATIM)
add_custom_target(talvio_man_page ALL DEPENDS ${talvio_man_dir}/talvio.1.gz)
install(FILES ${talvio_man_dir}/talvio.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(talvio_desktop_dir ${PROJECT_SOURCE_DIR}/data/desktop)
install(FILES ${talvio_desktop_dir}/talvio.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${talvio_desktop_dir}/talvio.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/talvio
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The Calc extension, unpacked as a bundled extension of the system's LibreOffice: every user's
# Calc finds it at its next start, and the package manager removes it with the package. (Debian's
# LibreOffice watches this folder with a trigger that makes each profile pick up the change.)
# The component is installed like the other libraries; the program and the message file it runs
# are links to the installed ones, and the library it links is the installed one.
if(TALVIO_BUILD_CALC)
    set(talvio_bundled lib/libreoffice/share/extensions/talvio)
    install(DIRECTORY ${TALVIO_OXT_STAGE}/ DESTINATION ${talvio_bundled}
            PATTERN bin EXCLUDE PATTERN lib EXCLUDE PATTERN share EXCLUDE)
    install(TARGETS talviocalc LIBRARY DESTINATION ${talvio_bundled}/lib)
    if(TALVIO_PROGRAM_RPATH)
        set_target_properties(talviocalc PROPERTIES INSTALL_RPATH ${CMAKE_INSTALL_FULL_LIBDIR})
    endif()
    set(talvio_links ${PROJECT_BINARY_DIR}/package/extension-links)
    file(REMOVE_RECURSE ${talvio_links})
    cmake_path(GET TALVIO_INSTALLED_MESSAGE_FILE FILENAME message_file_name)
    foreach(pair "bin/talvio|${CMAKE_INSTALL_FULL_BINDIR}/talvio"
                 "share/talvio/${message_file_name}|${TALVIO_INSTALLED_MESSAGE_FILE}")
        string(REPLACE "|" ";" pair ${pair})
        list(GET pair 0 link)
        list(GET pair 1 installed)
        cmake_path(GET link PARENT_PATH folder)
        file(RELATIVE_PATH target ${CMAKE_INSTALL_PREFIX}/${talvio_bundled}/${folder} ${installed})
        file(MAKE_DIRECTORY ${talvio_links}/${folder})
        file(CREATE_LINK ${target} ${talvio_links}/${link} SYMBOLIC)
    endforeach()
    install(DIRECTORY ${talvio_links}/ DESTINATION ${talvio_bundled})
endif()

# Everything the package holds, so that a package can be made without building the tests.
add_custom_target(talvio_package_contents
    DEPENDS talvio TlvAddInMgr KVTDebug kvt kvtbus kvtwindows talvio_messages talvio_man_page)
if(TALVIO_BUILD_CALC)
    add_dependencies(talvio_package_contents talvio_oxt)
endif()

set(CPACK_PACKAGE_NAME talvio)
set(CPACK_PACKAGE_VENDOR "Talvio")
set(CPACK_PACKAGE_CONTACT "Talvio maintainers <maintainers@talvio.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "currency conversion toolkit for spreadsheet add-ins")
set(CPACK_PACKAGE_DESCRIPTION
    "Talvio converts amounts between currencies - through the euro for the euro-area\n"
    "currencies, with a choice of rounding - and keeps currencies, rates and\n"
    "preferences per user. This package holds the command-line program talvio, the\n"
    "library libkvt and its modules, the add-in manager TlvAddInMgr and the trace\n"
    "viewer KVTDebug (both started by the session bus), the control panel's desktop\n"
    "entry, and the LibreOffice Calc extension with Talvio's functions and menu.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The package's dependencies are the libraries its programs and modules link, as dpkg-shlibdeps
# finds them; the Calc component's UNO libraries live in LibreOffice's own folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/lib/libreoffice/program)
# Calc is what the extension is for.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc")

include(CPack)
