include(GoogleTest)

# talvio_test_environment(<name> <VAR=value...>): the environment of every discovered case of
# the test program <name>: its own settings file and the given variables. Set by a file that
# runs after discovery, because gtest_discover_tests splits a list given in its PROPERTIES.
function(talvio_test_environment name)
    set(file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
    list(JOIN ARGN ";" variables)
    file(WRITE ${file}
         "set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT "
         "[==[TALVIO_SETTINGS=${CMAKE_CURRENT_BINARY_DIR}/${name}-settings.db;${variables}]==])\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
endfunction()

# The test program <name> linking <library> and the test helpers <support> over it: its sources,
# libraries, bus, environment and test properties as talvio_add_test takes them.
function(talvio_add_test_linking library support name)
    cmake_parse_arguments(ARG "PRIVATE_BUS" "" "SOURCES;LIBS;ENVIRONMENT;PROPERTIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${library} ${support} GTest::gtest GTest::gmock
                                          GTest::gtest_main talvio_warnings ${ARG_LIBS})
    # Before discovery, which takes the program's emulator as it is then.
    if(ARG_PRIVATE_BUS)
        talvio_on_private_bus(${name})
    endif()
    if(ARG_PROPERTIES)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${ARG_PROPERTIES})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
    talvio_test_environment(${name} ${ARG_ENVIRONMENT})
endfunction()

# talvio_add_test(<name> SOURCES <files...> [LIBS <targets...>] [ENVIRONMENT <VAR=value...>]
#                 [PROPERTIES <test properties...>] [PRIVATE_BUS]); PRIVATE_BUS: every run gets a
# bus of its own (talvio_on_private_bus). Tests labelled `stress` run short by default and at full
# size with TALVIO_STRESS_FULL=1 (scripts/stress.sh).
function(talvio_add_test name)
    talvio_add_test_linking(kvtcore talvio_test_support ${name} ${ARGN})
endfunction()

# talvio_add_kvt_test(<name> SOURCES <files...> [LIBS ...] [ENVIRONMENT ...] [PRIVATE_BUS]):
# a test of the shared library kvt, which holds the whole engine layer. It links nothing of the
# engine but kvt, so the process holds one copy of each library-wide object: what it calls
# must be exported. The shipped
# message file's path is TALVIO_TEST_MESSAGE_FILE; the bus module is built with it.
function(talvio_add_kvt_test name)
    talvio_add_test_linking(kvt talvio_test_support_kvt ${name} ${ARGN})
    target_compile_definitions(${name} PRIVATE
        TALVIO_TEST_MESSAGE_FILE="${TALVIO_BUILD_MESSAGE_FILE}")
    add_dependencies(${name} talvio_messages kvtbus)
endfunction()
