include(GoogleTest)

# talvio_add_test(<name> SOURCES <files...> [LIBS <targets...>] [PRIVATE_BUS]): with
# PRIVATE_BUS, every test case runs on a session bus of its own (talvio_on_private_bus).
function(talvio_add_test name)
    cmake_parse_arguments(ARG "PRIVATE_BUS" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE kvtcore talvio_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main talvio_warnings ${ARG_LIBS})
    if(ARG_PRIVATE_BUS)
        talvio_on_private_bus(${name})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "TALVIO_SETTINGS=${CMAKE_CURRENT_BINARY_DIR}/${name}-settings.db")
endfunction()

# talvio_add_kvt_test(<name> SOURCES <files...> [LIBS <targets...>] [PRIVATE_BUS]): a test of the shared
# library kvt, which holds the whole engine layer; linked first, it serves every engine symbol,
# so the process holds one copy of each library-wide object. The shipped message file's path is
# TALVIO_TEST_MESSAGE_FILE.
function(talvio_add_kvt_test name)
    cmake_parse_arguments(ARG "PRIVATE_BUS" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE kvt talvio_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main talvio_warnings ${ARG_LIBS})
    if(ARG_PRIVATE_BUS)
        talvio_on_private_bus(${name})
    endif()
    target_compile_definitions(${name} PRIVATE
        TALVIO_TEST_MESSAGE_FILE="${TALVIO_BUILD_MESSAGE_FILE}")
    add_dependencies(${name} talvio_messages)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "TALVIO_SETTINGS=${CMAKE_CURRENT_BINARY_DIR}/${name}-settings.db")
endfunction()
