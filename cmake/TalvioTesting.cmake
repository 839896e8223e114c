include(GoogleTest)

# talvio_add_test(<name> SOURCES <files...> [LIBS <targets...>])
function(talvio_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE kvtcore talvio_test_support GTest::gtest GTest::gmock
                                          GTest::gtest_main talvio_warnings ${ARG_LIBS})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "TALVIO_SETTINGS=${CMAKE_CURRENT_BINARY_DIR}/${name}-settings.db")
endfunction()
