# D-Bus services of the project: the interface files, the activation files that let the bus
# start a program on first use, and the private bus the tests run on.

set(TALVIO_DBUS_DIR ${PROJECT_SOURCE_DIR}/dbus)
# Activation files for the build tree, so that the tests start the programs just built.
set(TALVIO_BUILD_SERVICE_DIR ${PROJECT_BINARY_DIR}/share/dbus-1/services)
set(TALVIO_TEST_BUS_CONFIG ${PROJECT_BINARY_DIR}/share/dbus-1/talvio-test-session.conf)
configure_file(${TALVIO_DBUS_DIR}/test-session.conf.in ${TALVIO_TEST_BUS_CONFIG} @ONLY)

# talvio_dbus_service(<bus name> <executable target>): the bus starts <target> when a client
# first calls <bus name>. One activation file in the build tree, one installed.
function(talvio_dbus_service busName target)
    file(GENERATE OUTPUT ${TALVIO_BUILD_SERVICE_DIR}/${busName}.service
         CONTENT "[D-BUS Service]\nName=${busName}\nExec=$<TARGET_FILE:${target}>\n")
    set(installed ${CMAKE_CURRENT_BINARY_DIR}/installed/${busName}.service)
    file(GENERATE OUTPUT ${installed}
         CONTENT "[D-BUS Service]\nName=${busName}\nExec=${CMAKE_INSTALL_FULL_BINDIR}/$<TARGET_FILE_NAME:${target}>\n")
    install(TARGETS ${target})
    install(FILES ${installed} DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/services)
endfunction()

# talvio_on_private_bus(<target>): every run of the test program <target> (discovery included)
# gets a bus of its own, started by dbus-run-session, whose programs are the build tree's. Call it
# before gtest_discover_tests (talvio_add_test's PRIVATE_BUS does), which reads it at once.
function(talvio_on_private_bus target)
    set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
        "${DBUS_RUN_SESSION};--config-file=${TALVIO_TEST_BUS_CONFIG};--")
endfunction()

find_program(DBUS_RUN_SESSION dbus-run-session REQUIRED)
