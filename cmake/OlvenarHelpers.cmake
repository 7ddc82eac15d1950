include(GoogleTest)

# olv_core_library(NAME SOURCES... DEPS ...): a static core library with no Qt in it.
function(olv_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# olv_gtest(NAME SOURCES... LIBS ... [LABELS ...]): one GoogleTest executable; each test case
# becomes a ctest test, discovered when ctest runs (so the build never runs test programs).
function(olv_gtest name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        OLVENAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        OLVENAR_DATA_DIR="${PROJECT_SOURCE_DIR}/data"
        OLVENAR_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
        OLVENAR_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()
