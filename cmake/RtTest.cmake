include(GoogleTest)

if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(RT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run CACHE FILEPATH "" FORCE)
endif()

# rt_add_test(NAME SOURCES ... LIBS ... [PROPERTIES ...]): one GoogleTest
# program, its cases registered with ctest one by one (with the given test
# properties).
function(rt_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest_main gtest)
    if(WIN32)
        # Tests show messages through the string table like the program does.
        target_link_libraries(${name} PRIVATE rt_resources)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
        PROPERTIES TIMEOUT 300 ${ARG_PROPERTIES})
endfunction()
