# Test components of our own, made with MinGW beside the program: small DLLs with chosen
# version resources and registration results, and the probe that reports the Windows
# version code under each of Wine's version settings. Windows presets only.
if(NOT WIN32)
  return()
endif()

set(LR_TESTDLL_DIR ${CMAKE_BINARY_DIR}/testdlls)
set(LR_TESTDLL_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/testdlls)

# lr_test_dll(<name> [VERSION a,b,c,d] [RESULT hr] [NO_EXPORT])
#   Builds ${LR_TESTDLL_DIR}/<name>.dll. VERSION gives it a version resource with that file
#   version (none without); RESULT is what its DllRegisterServer returns (S_OK if not
#   given); NO_EXPORT leaves DllRegisterServer out. Target name: testdll_<name>.
function(lr_test_dll NAME)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "NO_EXPORT" "VERSION;RESULT" "")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "lr_test_dll(${NAME}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  set(target testdll_${NAME})
  set(sources ${LR_TESTDLL_SOURCE_DIR}/testdll.cpp)
  if(ARG_NO_EXPORT)
    list(APPEND sources ${LR_TESTDLL_SOURCE_DIR}/testdll_noexport.def)
  else()
    list(APPEND sources ${LR_TESTDLL_SOURCE_DIR}/testdll.def)
  endif()
  if(DEFINED ARG_VERSION)
    if(NOT ARG_VERSION MATCHES "^[0-9]+,[0-9]+,[0-9]+,[0-9]+$")
      message(FATAL_ERROR "lr_test_dll(${NAME}): VERSION must be a,b,c,d")
    endif()
    set(LR_NAME ${NAME})
    set(LR_VERSION_COMMAS ${ARG_VERSION})
    string(REPLACE "," "." LR_VERSION_DOTS ${ARG_VERSION})
    set(rc ${CMAKE_BINARY_DIR}/testdlls_src/${NAME}.rc)
    configure_file(${LR_TESTDLL_SOURCE_DIR}/version.rc.in ${rc} @ONLY)
    list(APPEND sources ${rc})
  endif()

  add_library(${target} SHARED ${sources})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${NAME} PREFIX "" SUFFIX ".dll"
    RUNTIME_OUTPUT_DIRECTORY ${LR_TESTDLL_DIR}
    # The import library is of no use to anyone; keep it out of the DLL folder.
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testdlls_src)
  if(DEFINED ARG_RESULT)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_RESULT=${ARG_RESULT})
  endif()
  if(ARG_NO_EXPORT)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_NO_EXPORT)
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def names the undecorated export; tie it to the _Name@0 stdcall symbol.
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
  set_property(GLOBAL APPEND PROPERTY LR_TEST_DLL_TARGETS ${target})
  if(TARGET platform_tests)
    add_dependencies(platform_tests ${target})
  endif()
endfunction()

lr_test_dll(ver_4_0_8618_0 VERSION 4,0,8618,0)
lr_test_dll(ver_2_80_1022_3 VERSION 2,80,1022,3)
lr_test_dll(ver_6_0_40000_1 VERSION 6,0,40000,1)
lr_test_dll(ver_5_6_0_880 VERSION 5,6,0,880)
lr_test_dll(ver_0_0_0_0 VERSION 0,0,0,0)
lr_test_dll(noversion)
# For the end-to-end pages: a first part of two digits (sorted as text it comes before
# 2.x), and a fourth part that one page row must leave out.
lr_test_dll(ver_10_0_1_0 VERSION 10,0,1,0)
lr_test_dll(ver_6_0_98_2 VERSION 6,0,98,2)

if(TARGET platform_tests)
  target_compile_definitions(platform_tests PRIVATE LR_TESTDLL_DIR="${LR_TESTDLL_DIR}")
endif()

# The Windows version code under each of Wine's version settings. The setting is read at
# process start, so each one runs the probe afresh.
add_executable(winver_probe ${LR_TESTDLL_SOURCE_DIR}/winver_probe.cpp)
target_link_libraries(winver_probe PRIVATE lumora_win32)

if(LR_RUNS_TESTS)
  foreach(pair win95:1 win98:2 nt40:3 win2k:4 winme:5 winxp:6 win2003:7 vista:8
               nt351:0 win7:8 win10:8)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 setting)
    list(GET pair 1 code)
    add_test(NAME winver_${setting}
      COMMAND sh ${LR_TESTDLL_SOURCE_DIR}/winver_check.sh ${LR_WINE}
              $<TARGET_FILE:winver_probe> ${setting} ${code})
    lr_wine_test_properties(winver_${setting})
    # One setting at a time: they share the probe's AppDefaults key.
    set_tests_properties(winver_${setting} PROPERTIES RESOURCE_LOCK winver_probe_setting)
  endforeach()
endif()
