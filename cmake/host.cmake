# Native build of the platform-free logic: tests under sanitizers, and fuzzers.
enable_testing()
find_package(GTest REQUIRED)

set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(platform_free STATIC ${PLATFORM_FREE_SOURCES})
target_include_directories(platform_free PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(platform_free PRIVATE -Wall -Wextra -Werror ${SANITIZERS})

add_executable(host_tests
    tests/host/classify_test.cpp
    tests/host/command_tail_test.cpp
    tests/host/device_match_test.cpp
    tests/host/group_list_test.cpp
    tests/host/path_rules_test.cpp
    tests/host/rename_list_test.cpp
)
target_compile_options(host_tests PRIVATE -Wall -Wextra -Werror ${SANITIZERS})
target_link_options(host_tests PRIVATE ${SANITIZERS})
target_link_libraries(host_tests PRIVATE platform_free GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(host_tests)

# Fuzzers (clang's libFuzzer), each run for a bounded time as a test.
set(FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzzer runs in the tests")
foreach(fuzzer rename_list_fuzz path_rules_fuzz group_list_fuzz)
    add_executable(${fuzzer} tests/host/${fuzzer}.cpp ${PLATFORM_FREE_SOURCES})
    target_include_directories(${fuzzer} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(${fuzzer} PRIVATE -Wall -Wextra -fsanitize=fuzzer,address,undefined)
    target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer,address,undefined)
    add_test(NAME ${fuzzer} COMMAND ${fuzzer} -max_total_time=${FUZZ_SECONDS} -max_len=4096
             -print_final_stats=1)
endforeach()
