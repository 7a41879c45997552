# Test components of our own, made with MinGW beside the program: small DLLs with chosen
# version resources and registration results. Windows presets only.
if(NOT WIN32)
  return()
endif()

set(LR_TESTDLL_DIR ${CMAKE_BINARY_DIR}/testdlls)
set(LR_TESTDLL_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/testdlls)

# lr_test_dll(<name> [VERSION a,b,c,d] [RESULT hr] [SLEEP ms] [NO_EXPORT] [DEPENDS dll]
#             [HELPER] [RECORD_LOAD] [INIT_FAILS] [WINDOW] [CRASH] [EXIT code] [MESSAGE_BOX] [OFFSCREEN] [CHILD]
#             [CLASS name])
#   Builds ${LR_TESTDLL_DIR}/<name>.dll. VERSION gives it a version resource with that file
#   version (none without); RESULT is what its DllRegisterServer returns (S_OK if not
#   given); NO_EXPORT leaves DllRegisterServer out. HELPER exports what DEPENDS imports from
#   the test DLL it names; RECORD_LOAD records its loading; INIT_FAILS fails its DllMain;
#   WINDOW shows a window and runs the thread's messages while registering; CRASH crashes there; EXIT ends its process
#   there with that code; MESSAGE_BOX asks the user in a message box titled "lrtest" first;
#   SLEEP INFINITE never returns; OFFSCREEN shows a 0x0 window and one off every screen, records
#   "Windows" and never returns; CHILD records whether its worker's pipe handle is "Kept" or
#   "Inherited", then starts notepad with inheritance and waits for it; CLASS registers a class
#   of that name to the DLL as it was loaded, in the registry view a 32-bit program sees.
#   Target: testdll_<name>.
function(lr_test_dll NAME)
  cmake_parse_arguments(PARSE_ARGV 1 ARG
    "NO_EXPORT;HELPER;RECORD_LOAD;INIT_FAILS;WINDOW;CRASH;MESSAGE_BOX;OFFSCREEN;CHILD"
    "VERSION;RESULT;SLEEP;DEPENDS;EXIT;CLASS" "")
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
  if(DEFINED ARG_SLEEP)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_SLEEP=${ARG_SLEEP})
  endif()
  if(DEFINED ARG_RESULT)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_RESULT=${ARG_RESULT})
  endif()
  if(DEFINED ARG_CLASS)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_CLASS=L"${ARG_CLASS}")
  endif()
  if(DEFINED ARG_EXIT)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_EXIT=${ARG_EXIT})
  endif()
  if(ARG_NO_EXPORT)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_NO_EXPORT)
  endif()
  foreach(kind HELPER RECORD_LOAD INIT_FAILS WINDOW CRASH MESSAGE_BOX OFFSCREEN CHILD)
    if(ARG_${kind})
      target_compile_definitions(${target} PRIVATE LR_TESTDLL_${kind})
    endif()
  endforeach()
  if(DEFINED ARG_DEPENDS)
    target_compile_definitions(${target} PRIVATE LR_TESTDLL_DEPENDS)
    target_link_libraries(${target} PRIVATE testdll_${ARG_DEPENDS})
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def names the undecorated export; tie it to the _Name@0 stdcall symbol.
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
  set_property(GLOBAL APPEND PROPERTY LR_TEST_DLL_TARGETS ${target})
  foreach(user platform_tests window_tests)
    if(TARGET ${user})
      add_dependencies(${user} ${target})
    endif()
  endforeach()
endfunction()

lr_test_dll(ver_2_80_1022_3 VERSION 2,80,1022,3)
lr_test_dll(ver_0_0_0_0 VERSION 0,0,0,0)
# For re-registration: an entry point that fails with access denied (with a version, so
# the pages list it), and none at all.
lr_test_dll(denied VERSION 1,0,0,0 RESULT 0x80070005)
lr_test_dll(noexport NO_EXPORT)
# A registration that takes its time: placed as a few MDAC files, a run can be watched by hand.
lr_test_dll(slow VERSION 1,0,0,0 SLEEP 1500)

# Hostile components: S_FALSE, a helper that must lie beside the one needing it, a decoy of
# that helper's name, a window and message loop inside the registration, a crash in it.
lr_test_dll(sfalse VERSION 1,0,0,0 RESULT 1)
lr_test_dll(lrdep HELPER)
lr_test_dll(withdep VERSION 1,0,0,0 DEPENDS lrdep)
lr_test_dll(decoy HELPER RECORD_LOAD)
# A loader error above 255: ERROR_DLL_INIT_FAILED.
lr_test_dll(initfails INIT_FAILS)
lr_test_dll(pumps VERSION 1,0,0,0 WINDOW)
lr_test_dll(crash VERSION 1,0,0,0 CRASH)
# What a component may do to the process that registers it: end it, never return, take
# 10 s, wait for the user.
lr_test_dll(exits VERSION 1,0,0,0 EXIT 7)
lr_test_dll(hangs VERSION 1,0,0,0 SLEEP INFINITE)
lr_test_dll(slow10 VERSION 1,0,0,0 SLEEP 10000)
lr_test_dll(asks VERSION 1,0,0,0 MESSAGE_BOX)
# A Jet provider of our own: Wine registers none of that name.
lr_test_dll(jetprovider VERSION 4,0,9999,0 CLASS Microsoft.Jet.OLEDB.4.0)
# Dodging the time limit with a window nobody can see; asking through a program of its own.
lr_test_dll(offscreen VERSION 1,0,0,0 OFFSCREEN)
lr_test_dll(child VERSION 1,0,0,0 CHILD)

# The other architecture: a 64-bit DLL where the 32-bit build runs and a 32-bit one where the
# 64-bit build runs (the loader refuses it as a bad format; its version resource still reads).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(other i686-w64-mingw32)
  set(other_flags -Wl,--enable-stdcall-fixup)
else()
  set(other x86_64-w64-mingw32)
  set(other_flags)
endif()
set(otherarch ${LR_TESTDLL_DIR}/otherarch.dll)
set(LR_NAME otherarch)
set(LR_VERSION_COMMAS 3,2,1,0)
set(LR_VERSION_DOTS 3.2.1.0)
configure_file(${LR_TESTDLL_SOURCE_DIR}/version.rc.in ${CMAKE_BINARY_DIR}/testdlls_src/otherarch.rc @ONLY)
add_custom_command(OUTPUT ${otherarch}
  COMMAND ${other}-windres ${CMAKE_BINARY_DIR}/testdlls_src/otherarch.rc -O coff -o ${CMAKE_BINARY_DIR}/testdlls_src/otherarch.res.o
  COMMAND ${other}-g++-${LR_MINGW_THREADS} -shared -s -static ${other_flags} -o ${otherarch}
          ${LR_TESTDLL_SOURCE_DIR}/testdll.cpp ${LR_TESTDLL_SOURCE_DIR}/testdll.def ${CMAKE_BINARY_DIR}/testdlls_src/otherarch.res.o
  DEPENDS ${LR_TESTDLL_SOURCE_DIR}/testdll.cpp ${LR_TESTDLL_SOURCE_DIR}/testdll.def
  COMMENT "Building the test DLL of the other architecture")
add_custom_target(testdll_otherarch DEPENDS ${otherarch})
foreach(user platform_tests window_tests)
  if(TARGET ${user})
    add_dependencies(${user} testdll_otherarch)
  endif()
endforeach()

foreach(user platform_tests window_tests)
  if(TARGET ${user})
    target_compile_definitions(${user} PRIVATE LR_TESTDLL_DIR="${LR_TESTDLL_DIR}")
  endif()
endforeach()
