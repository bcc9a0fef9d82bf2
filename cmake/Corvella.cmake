# Shared build rules. Two trees are built from one source:
#  - native (Linux g++): the portable core and its tests, under ASan/UBSan;
#  - win32 (i686-w64-mingw32, see mingw-i686.cmake): the program, the COM
#    libraries and the tests that run under Wine.

get_filename_component(CORVELLA_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
# Includes are written from the top of the tree: "app/foundation/paths.h".
include_directories(${CORVELLA_ROOT})

if(WIN32)
  set(CORVELLA_WIN32 ON)
  # The oldest systems the program runs on: Windows 95 and NT 4 with the
  # common controls of Internet Explorer 4. A newer call then does not
  # compile; one worth having is loaded with GetProcAddress, with a fallback.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX
                          WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400)
  # The program and its libraries must need no run-time DLLs of the compiler.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # GoogleTest takes its Win32 mutex; its one use of std::mutex is replaced.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(CORVELLA_GTEST_PORT -include ${CMAKE_CURRENT_LIST_DIR}/gtest/win32_notification.h)
  target_compile_options(gtest PRIVATE ${CORVELLA_GTEST_PORT})
  target_compile_options(gtest_main PRIVATE ${CORVELLA_GTEST_PORT})
  set(CORVELLA_GTEST gtest gtest_main)
else()
  set(CORVELLA_WIN32 OFF)
  # Tests run under the sanitizers; the benchmark tree turns them off.
  option(CORVELLA_SANITIZE "Build with AddressSanitizer and UBSan" ON)
  add_compile_options(-Wall -Wextra)
  if(CORVELLA_SANITIZE)
    set(CORVELLA_SANITIZE_FLAGS "-fsanitize=address,undefined" "-fno-sanitize-recover=undefined"
        "-fno-omit-frame-pointer")
    add_compile_options(${CORVELLA_SANITIZE_FLAGS})
    add_link_options(${CORVELLA_SANITIZE_FLAGS})
  endif()
  find_package(GTest REQUIRED)
  set(CORVELLA_GTEST GTest::gtest GTest::gtest_main)
  # Long fuzz runs need clang's libFuzzer; the whole tree is then built
  # with coverage for it (see corvella_fuzz_target).
  option(CORVELLA_LIBFUZZER "Build the fuzz targets for libFuzzer (clang)" OFF)
  if(CORVELLA_LIBFUZZER)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

# corvella_test(NAME SOURCES... [LIBS libs...] [WINE_FIXTURES f...] [TIMEOUT s])
# A GoogleTest executable. In the win32 tree it runs under Wine through the
# crosscompiling emulator and needs the prefix fixture.
function(corvella_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;WINE_FIXTURES;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${CORVELLA_GTEST})
  target_compile_options(${name} PRIVATE ${CORVELLA_GTEST_PORT})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
  if(CORVELLA_WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "wine_prefix;${T_WINE_FIXTURES}")
  endif()
endfunction()

# corvella_fuzz_target(NAME TARGET file.cpp LIBS libs...)
# A fuzz target: the file defines LLVMFuzzerTestOneInput and checks its
# properties with corvella::fuzz::Check. The tests run it over a corpus
# (libs/common/tests/fuzz_corpus.h); with CORVELLA_LIBFUZZER it is also
# the libFuzzer executable NAME, for runs of minutes or hours:
#   cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCORVELLA_LIBFUZZER=ON
#   cmake --build build/fuzz --target NAME
#   build/fuzz/<its folder>/NAME -max_total_time=300 corpus_folder
function(corvella_fuzz_target name)
  cmake_parse_arguments(F "" "TARGET" "LIBS" ${ARGN})
  if(CORVELLA_LIBFUZZER)
    add_executable(${name} ${F_TARGET})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()

if(CORVELLA_WIN32)
  find_path(CORVELLA_STDOLE_DIR stdole2.tlb
            PATHS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(CORVELLA_BIN ${CMAKE_BINARY_DIR}/bin)
  # Test-only libraries and their tests, kept apart from what ships.
  set(CORVELLA_TEST_BIN ${CMAKE_BINARY_DIR}/testbin)
  # Headers and identities widl writes from the IDL files.
  set(CORVELLA_GENERATED ${CMAKE_BINARY_DIR}/generated)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CORVELLA_BIN})
endif()

# Tests of the shipped binaries as they ship: Corvella.exe and every COM
# library import nothing outside tools/imports-allowed.txt, Corvella.exe's
# first icon group holds 16 and 32 pixel images in 16 and 256 colours, and
# `make run` brings the program up with no display, in a fresh prefix of its
# own.
function(corvella_shipped_tests)
  get_property(shipped GLOBAL PROPERTY CORVELLA_SHIPPED)
  add_test(NAME shipped_imports
           COMMAND ${Python3_EXECUTABLE} ${CORVELLA_ROOT}/tools/check_imports.py
                   ${CORVELLA_ROOT}/tools/imports-allowed.txt $<TARGET_FILE:Corvella> ${shipped})
  add_test(NAME shipped_icon
           COMMAND ${Python3_EXECUTABLE} ${CORVELLA_ROOT}/tools/check_icon.py $<TARGET_FILE:Corvella>
                   16x4 16x8 32x4 32x8)
  add_test(NAME run_without_display
           COMMAND sh ${CORVELLA_ROOT}/tools/run_test.sh ${CORVELLA_BIN}
                   ${CMAKE_BINARY_DIR}/run_without_display)
  set_tests_properties(run_without_display PROPERTIES TIMEOUT 900)
endfunction()

# corvella_com_dll(NAME IDL file.idl HEADER path/name.h IFACE target
#                  [BLANK_NAMES a_b ...] [ENUM_HELP] [TEST_ONLY] SOURCES ... LIBS ...)
# An in-process COM server: widl builds the type library, names IDL cannot
# spell get their blanks back (and, with ENUM_HELP, each enumeration member
# its name as help string, which widl cannot write), and the library is
# embedded as TYPELIB 1.
# The IDL is the one place for identities: widl also writes the C++ header
# (included as HEADER, from the top of the tree) and the identities, which
# the static library IFACE compiles for the server and its callers.
# A TEST_ONLY server is built beside the tests, apart from what ships.
function(corvella_com_dll name)
  cmake_parse_arguments(D "TEST_ONLY;ENUM_HELP" "IDL;HEADER;IFACE" "BLANK_NAMES;SOURCES;LIBS" ${ARGN})
  set(enum_help)
  if(D_ENUM_HELP)
    set(enum_help --enum-help)
  endif()
  set(idl ${CMAKE_CURRENT_SOURCE_DIR}/${D_IDL})
  set(raw ${CMAKE_CURRENT_BINARY_DIR}/${name}_widl.tlb)
  set(tlb ${CMAKE_CURRENT_BINARY_DIR}/${name}.tlb)
  set(widl ${CORVELLA_WIDL} -I${CORVELLA_ROOT}/libs/common/com)
  set(idl_deps ${idl} ${CORVELLA_ROOT}/libs/common/com/base.idl)
  add_custom_command(
    OUTPUT ${tlb}
    COMMAND ${widl} -L${CORVELLA_STDOLE_DIR} -t -o ${raw} ${idl}
    COMMAND ${Python3_EXECUTABLE} ${CORVELLA_ROOT}/tools/tlb_names.py ${enum_help} ${raw} ${tlb} ${D_BLANK_NAMES}
    DEPENDS ${idl_deps} ${CORVELLA_ROOT}/tools/tlb_names.py
    VERBATIM)

  set(header ${CORVELLA_GENERATED}/${D_HEADER})
  get_filename_component(header_dir ${header} DIRECTORY)
  get_filename_component(header_stem ${header} NAME_WE)
  set(ids ${header_dir}/${header_stem}_i.c)
  add_custom_command(
    OUTPUT ${header} ${ids}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${header_dir}
    COMMAND ${widl} -h -o ${header} ${idl}
    COMMAND ${widl} -u -o ${ids} ${idl}
    DEPENDS ${idl_deps}
    VERBATIM)
  # The generated header includes <base.h> for base.idl: the shim there
  # stands for it with the system's own declarations.
  add_library(${D_IFACE} STATIC ${ids} ${header})
  target_include_directories(${D_IFACE} PUBLIC ${CORVELLA_GENERATED}
                             ${CORVELLA_ROOT}/libs/common/com/widl)
  target_link_libraries(${D_IFACE} PUBLIC oleaut32 ole32 uuid)

  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_tlb.rc)
  file(WRITE ${rc} "1 TYPELIB \"${name}.tlb\"\n")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${tlb})
  add_library(${name} SHARED ${D_SOURCES} ${rc}
              ${CORVELLA_ROOT}/libs/common/com/exports.cpp
              ${CORVELLA_ROOT}/libs/common/com/exports.def)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
  # oleaut32 straight after the COM plumbing: the error-info calls come from
  # the library that documents them (the ole32 of Windows 95 and NT 4 may
  # lack them), not from ole32 further down the link line.
  target_link_libraries(${name} PRIVATE corvella_com oleaut32 ${D_IFACE} ${D_LIBS})
  if(D_TEST_ONLY)
    set(out ${CORVELLA_TEST_BIN})
  else()
    set(out ${CORVELLA_BIN})
  endif()
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
                        RUNTIME_OUTPUT_DIRECTORY ${out})
  set(${name}_TLB ${tlb} PARENT_SCOPE)
  if(NOT D_TEST_ONLY)
    set_property(GLOBAL APPEND PROPERTY CORVELLA_SHIPPED $<TARGET_FILE:${name}>)
  endif()

  # Registered in the test prefix before any test that creates its classes.
  add_test(NAME register_${name}
           COMMAND ${CORVELLA_ROOT}/cmake/wine-regsvr.sh $<TARGET_FILE:${name}>)
  set_tests_properties(register_${name} PROPERTIES FIXTURES_REQUIRED wine_prefix
                       FIXTURES_SETUP registered_${name} TIMEOUT 300)
endfunction()
