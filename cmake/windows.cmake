# The program for Windows, its test builds and the Wine test driver.
enable_language(RC)

set(CMAKE_RC_FLAGS "-c 65001 -I ${CMAKE_SOURCE_DIR}/res")
# Nothing but what we name: the program links no C or C++ runtime.
set(CMAKE_CXX_STANDARD_LIBRARIES "")
set(CMAKE_C_STANDARD_LIBRARIES "")

set(PROGRAM_SOURCES
    ${PLATFORM_FREE_SOURCES}
    app/crt.cpp
    app/gate.cpp
    app/main_window.cpp
    app/startup.cpp
    app/winmain.cpp
    run/session.cpp
    run/uninstall.cpp
    res/pdclean.rc
)

set(WARNINGS -Wall -Wextra -Werror)

function(pdclean_program target)
    add_executable(${target} WIN32 ${ARGN})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(${target} PRIVATE ${WARNINGS}
        # Sources are UTF-8; every narrow literal is stored in code page 932.
        $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=CP932>
        $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>
        $<$<COMPILE_LANGUAGE:CXX>:-fno-asynchronous-unwind-tables -fno-stack-protector>)
    target_compile_definitions(${target} PRIVATE WINVER=0x0500 _WIN32_WINNT=0x0500)
    target_link_options(${target} PRIVATE
        -nostdlib -nostartfiles -static -s
        # Loadable by the Windows 9x and NT 4-era loaders: subsystem and OS version 4.0.
        -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4 -Wl,--minor-os-version,0
        -Wl,--no-insert-timestamp
        -Wl,--disable-dynamicbase,--disable-nxcompat
        $<$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},x86_64>:-Wl,--disable-high-entropy-va>)
    target_link_libraries(${target} PRIVATE kernel32 user32 advapi32 setupapi gcc)
endfunction()

pdclean_program(pdclean ${PROGRAM_SOURCES} app/main_class.cpp)
set_target_properties(pdclean PROPERTIES OUTPUT_NAME pdclean)

# Test build: the same program whose class registration fails.
pdclean_program(pdclean_failreg ${PROGRAM_SOURCES} tests/wine/failing_class.cpp)

# Test build: the same program without its dialog template.
pdclean_program(pdclean_nodialog ${PROGRAM_SOURCES} app/main_class.cpp)
target_compile_definitions(pdclean_nodialog PRIVATE $<$<COMPILE_LANGUAGE:RC>:PDCLEAN_TEST_NO_DIALOG>)

# Drives pdclean through its dialog under Wine; an ordinary static program.
add_executable(pddriver tests/wine/driver.cpp)
target_compile_options(pddriver PRIVATE ${WARNINGS})
target_link_options(pddriver PRIVATE -static -municode -mconsole)
target_link_libraries(pddriver PRIVATE user32 gdi32 advapi32 kernel32)
