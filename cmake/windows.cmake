# The program for Windows, its test builds, the Wine test driver and the Win32 glue tests.
enable_language(RC)

set(CMAKE_RC_FLAGS "-c 65001 -I ${CMAKE_SOURCE_DIR}/res")
# Nothing but what we name: the program links no C or C++ runtime.
set(CMAKE_CXX_STANDARD_LIBRARIES "")
set(CMAKE_C_STANDARD_LIBRARIES "")

set(WARNINGS -Wall -Wextra -Werror)
set(SYSTEM_LIBRARIES kernel32 user32 advapi32)

# The shipping program runs on every CPU its oldest target (Windows 95) runs on: the 80386.
# GCC's i686 default is the Pentium Pro (cmov), and the assembler pads with long nops.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(PROGRAM_CPU -march=i386 -mtune=i386 -Wa,-march=i386,-mtune=i386)
    # Small: the stack is kept 4-byte aligned as the Win32 ABI asks, no realignment code,
    # no frame pointer, constant arrays at the ABI's alignment rather than on 32-byte lines,
    # and size before speed wherever GCC can choose.
    set(PROGRAM_CPU ${PROGRAM_CPU} -mpreferred-stack-boundary=2 -fomit-frame-pointer
        -malign-data=abi -Oz)
    # Calls push their arguments, which takes far less code than storing them. Without probes,
    # the stack grows only through its guard page, one page at a time: every frame with the
    # arguments it pushes stays under a page, and the build refuses a larger one.
    set(PROGRAM_CPU ${PROGRAM_CPU} -mno-stack-arg-probe -mno-accumulate-outgoing-args
        -Wframe-larger-than=3072)
    # The one larger frame, NT's restart list read whole, is probed page by page (probes need
    # stored arguments).
    set_source_files_properties(files/pending_list.cpp PROPERTIES COMPILE_OPTIONS
        "-mstack-arg-probe;-maccumulate-outgoing-args;-Wno-frame-larger-than")
    # Three sections (code; imports, constants and state; resources): the headers take one
    # file block.
    set(PROGRAM_LAYOUT ${CMAKE_SOURCE_DIR}/cmake/pdclean-i386.ld)
endif()
# The program's C++: no runtime support, each function and datum in its own section so the
# link keeps only what is used.
set(PROGRAM_CXX -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-ident
    -ffunction-sections -fdata-sections ${PROGRAM_CPU})

# Everything of the program but its start-up, its runtime stand-ins and its class
# registration, so the Win32 glue tests and the test builds can link it too.
add_library(pdclean_core STATIC
    ${PLATFORM_FREE_SOURCES}
    app/gate.cpp
    app/main_window.cpp
    app/winmain.cpp
    core/library.cpp
    core/outcome_label.cpp
    core/recorder.cpp
    core/session.cpp
    files/pending_list.cpp
    files/plans.cpp
    files/primitives.cpp
    files/restart.cpp
    files/tree.cpp
    registry/devices.cpp
    registry/key_tree.cpp
    registry/plans.cpp
    registry/service_group.cpp
    registry/services.cpp
    run/uninstall.cpp
)
target_include_directories(pdclean_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(pdclean_core PUBLIC WINVER=0x0500 _WIN32_WINNT=0x0500)
target_compile_options(pdclean_core PRIVATE ${WARNINGS}
    # Sources are UTF-8; every narrow literal is stored in code page 932.
    -finput-charset=UTF-8 -fexec-charset=CP932
    ${PROGRAM_CXX} -fno-threadsafe-statics -fno-stack-protector)

function(pdclean_program target)
    add_executable(${target} WIN32 ${ARGN} app/startup.cpp app/crt.cpp res/pdclean.rc)
    target_compile_options(${target} PRIVATE ${WARNINGS}
        $<$<COMPILE_LANGUAGE:CXX>:${PROGRAM_CXX}>)
    target_link_options(${target} PRIVATE
        -nostdlib -nostartfiles -static -s
        # Loadable by the Windows 9x and NT 4-era loaders: subsystem and OS version 4.0.
        -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0
        -Wl,--no-insert-timestamp
        -Wl,--disable-dynamicbase,--disable-nxcompat
        # On Terminal Services, GetWindowsDirectoryA then names the real Windows directory.
        -Wl,--tsaware
        # Small: unused code dropped; no base relocations, as an exe loads at its own base.
        -Wl,--gc-sections -Wl,--disable-reloc-section
        -Wl,-Map,$<TARGET_FILE_DIR:${target}>/${target}.map
        $<$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},x86_64>:-Wl,--disable-high-entropy-va>)
    if(PROGRAM_LAYOUT)
        target_link_options(${target} PRIVATE -Wl,-T,${PROGRAM_LAYOUT})
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROGRAM_LAYOUT})
    endif()
    target_link_libraries(${target} PRIVATE pdclean_core ${SYSTEM_LIBRARIES} gcc)
endfunction()

pdclean_program(pdclean app/main_class.cpp)

# Test build: the same program whose class registration fails.
pdclean_program(pdclean_failreg tests/wine/failing_class.cpp)

# Test build: the same program without its dialog template.
pdclean_program(pdclean_nodialog app/main_class.cpp)
target_compile_definitions(pdclean_nodialog PRIVATE $<$<COMPILE_LANGUAGE:RC>:PDCLEAN_TEST_NO_DIALOG>)

# Drives pdclean through its dialog under Wine; an ordinary static program.
add_executable(pddriver tools/wine/driver.cpp tools/wine/driver_windows.cpp
    tools/wine/driver_files.cpp tools/wine/driver_registry.cpp tools/wine/driver_processes.cpp
    tools/wine/delay_refusal.cpp)
target_include_directories(pddriver PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(pddriver PRIVATE ${WARNINGS})
target_link_options(pddriver PRIVATE -static -municode -mconsole)
target_link_libraries(pddriver PRIVATE user32 gdi32 advapi32 kernel32)

# Planted beside pdclean under the setup API's name: it marks every process that maps it.
add_library(planted SHARED tests/wine/planted.cpp)
set_target_properties(planted PROPERTIES PREFIX "")
target_compile_options(planted PRIVATE ${WARNINGS})
target_link_options(planted PRIVATE -static)

# A class installer that keeps the node it is asked to remove until the restart, and says so.
add_library(held_device SHARED tests/wine/held_device.cpp)
set_target_properties(held_device PROPERTIES PREFIX "")
target_compile_options(held_device PRIVATE ${WARNINGS})
# The setup API looks the installer up by its plain name, also on i686 (stdcall).
target_link_options(held_device PRIVATE -static -Wl,--kill-at)
target_link_libraries(held_device PRIVATE setupapi)

# The Win32 glue run for real under Wine, with GoogleTest built for Windows.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_executable(win_tests
    tests/wine/win_tests_main.cpp
    tests/wine/outcome_test.cpp
    tests/wine/files_test.cpp
    tests/wine/restart_test.cpp
    tests/wine/tree_test.cpp
    tests/wine/plans_test.cpp
    tests/wine/registry_test.cpp
    tests/wine/devices_test.cpp
    tests/wine/run_test.cpp
    tools/wine/delay_refusal.cpp
    # The program's strings, for the run's report boxes.
    res/pdclean.rc
)
target_compile_options(win_tests PRIVATE -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=CP932)
target_link_options(win_tests PRIVATE -static -mconsole)
target_link_libraries(win_tests PRIVATE pdclean_core gtest ${SYSTEM_LIBRARIES} setupapi)

# The simulated installation of the driver package, for the tests, the demo and the figures.
add_library(pdsim_package STATIC tools/pdsim/package.cpp)
target_compile_options(pdsim_package PRIVATE ${WARNINGS} -finput-charset=UTF-8)
target_compile_definitions(pdsim_package PRIVATE UNICODE _UNICODE)
add_executable(pdsim tools/pdsim/pdsim.cpp)
target_compile_definitions(pdsim PRIVATE UNICODE _UNICODE)
target_compile_options(pdsim PRIVATE ${WARNINGS})
target_link_options(pdsim PRIVATE -static -municode -mconsole)
target_link_libraries(pdsim PRIVATE pdsim_package setupapi advapi32 kernel32)

# Figures, not tests: printed by the benchmark script.
add_executable(win_bench bench/main.cpp bench/files.cpp bench/run.cpp)
target_compile_options(win_bench PRIVATE ${WARNINGS})
target_link_options(win_bench PRIVATE -static -mconsole)
target_link_libraries(win_bench PRIVATE pdclean_core pdsim_package ${SYSTEM_LIBRARIES} setupapi)

# Figures, not tests: the handles each acquiring routine leaves behind. It links no
# setupapi.dll, so it can tell whether the sweeps release theirs.
add_executable(win_handles bench/handles.cpp)
target_compile_options(win_handles PRIVATE ${WARNINGS})
target_link_options(win_handles PRIVATE -static -mconsole)
target_link_libraries(win_handles PRIVATE pdclean_core ${SYSTEM_LIBRARIES})
