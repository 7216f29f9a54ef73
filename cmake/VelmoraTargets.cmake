# velmora_defaults(target): the project's warning and sanitizer settings for one of its own targets.
function(velmora_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(VELMORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # GCC 12 reports false -Wrestrict overlaps inside libstdc++'s string code at -O2/-O3.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wno-error=restrict)
    endif()
  endif()
  if(VELMORA_SANITIZERS OR VELMORA_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(VELMORA_TSAN)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
  if(VELMORA_FUZZ)
    # Coverage for libFuzzer in every library; only the harnesses link its main.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# velmora_test(name SOURCES sources... LIBS libs... [PROPERTIES name value...]): one GoogleTest
# executable registered with CTest, each case with the given test properties.
function(velmora_test name)
  cmake_parse_arguments(VT "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${VT_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/TestEnvironment.cpp)
  velmora_defaults(${name})
  # Under Wine the build machine's folders are on drive Z:.
  set(tree_prefix "")
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(tree_prefix "Z:")
  endif()
  target_compile_definitions(${name} PRIVATE
    VELMORA_TEST_SOURCE_DIR="${tree_prefix}${PROJECT_SOURCE_DIR}"
    VELMORA_TEST_BINARY_DIR="${tree_prefix}${PROJECT_BINARY_DIR}")
  target_link_libraries(${name} PRIVATE ${VT_LIBS} velmora_gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(VT_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${VT_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
