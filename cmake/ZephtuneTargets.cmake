# Compiler settings shared by every target of the project, and the functions that
# make the program, the test executables and the benchmarks.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZT_ARCH amd64)
else()
  set(ZT_ARCH x86)
endif()

# Windows XP is the oldest system the program runs on: newer APIs are looked up at
# run time, so their declarations stay out of reach at compile time.
set(ZT_WINDOWS_DEFINITIONS UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
    _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)

function(zt_target_defaults target)
  target_compile_definitions(${target} PRIVATE ${ZT_WINDOWS_DEFINITIONS})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
    # The resource script carries the manifest; the linker must not add its own.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
    set_target_properties(${target} PROPERTIES MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
    target_link_options(${target} PRIVATE -static -municode
                        -Wl,--nxcompat -Wl,--dynamicbase -Wl,--gc-sections $<$<CONFIG:Release>:-s>)
  endif()
endfunction()

# The program: Zephtune.exe with its resources, in build/<arch>/<dir>/ beside its
# companions. TEST_VARIANT compiles the test differences in (never in dist/).
function(zt_add_program target dir)
  cmake_parse_arguments(ARG "TEST_VARIANT" "" "" ${ARGN})
  add_executable(${target} WIN32 ${PROJECT_SOURCE_DIR}/src/app/Main.cpp ${ZT_PROGRAM_RESOURCES})
  zt_target_defaults(${target})
  target_link_libraries(${target} PRIVATE zephtune_core)
  if(ARG_TEST_VARIANT)
    target_compile_definitions(${target} PRIVATE ZEPHTUNE_TEST_BUILD)
  endif()
  set(out ${CMAKE_BINARY_DIR}/${dir})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME Zephtune RUNTIME_OUTPUT_DIRECTORY ${out})
  add_dependencies(${target} zephtune_companions)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZT_COMPANION_FILES} ${out}
    VERBATIM)
endfunction()

# A Windows helper program of the tests or benchmarks (console subsystem).
function(zt_add_tool target)
  add_executable(${target} ${ARGN})
  zt_target_defaults(${target})
endfunction()
