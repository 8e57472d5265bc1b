# Common settings for every Tidewatch target.
# Sources are UTF-8; narrow literals become code page 932 bytes, the program's text encoding.
function(tw_target_options target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX,C>:-finput-charset=UTF-8 -fexec-charset=CP932 -Wall -Wextra -Wno-unused-parameter>)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700)
  target_include_directories(${target} PRIVATE "${CMAKE_SOURCE_DIR}/src")
  target_include_directories(${target} SYSTEM PRIVATE "${TW_BOOST_INCLUDE}")
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()

# A static library made of every .cpp in the calling folder.
function(tw_library name)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(NOT sources)  # a subsystem with headers only (or none yet)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${CMAKE_SOURCE_DIR}/src")
    if(ARGN)
      target_link_libraries(${name} INTERFACE ${ARGN})
    endif()
    return()
  endif()
  add_library(${name} STATIC ${sources})
  tw_target_options(${name})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# One GoogleTest executable per subsystem: every .cpp (and .rc, for test dialogs) in the calling
# folder plus the shared test main; ctest runs it under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(tw_test name)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.rc")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  tw_target_options(${name})
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE tw_testmain ${ARGN} gtest)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:../test-results/${name}.xml
           WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "TW_SOURCE_DIR=${CMAKE_SOURCE_DIR};TW_BUILD_DIR=${CMAKE_BINARY_DIR};TZ=JST-9")
endfunction()
