# Helpers that give every Velkar target the same warnings, sanitizers and layout.

function(velkar_compile_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual -Wnull-dereference
    -Wimplicit-fallthrough)
  if(VELKAR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(VELKAR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# velkar_library(NAME SOURCES ... DEPS ...): one static library per subsystem folder.
# The folder above the source tree root is the include root, so headers are included
# as "tools/Money.h".
function(velkar_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  velkar_compile_options(${name})
endfunction()

# velkar_test(NAME SOURCES ... DEPS ...): a GoogleTest executable registered with CTest.
function(velkar_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} velkar_testsupport velkar_testmain GTest::gtest)
  velkar_compile_options(${name})
  include(GoogleTest)
  gtest_discover_tests(${name} WORKING_DIRECTORY ${PROJECT_BINARY_DIR} DISCOVERY_TIMEOUT 60)
endfunction()

# velkar_embed_version(TARGET): embeds the version block (project version and build
# number) that the program's version text is read from, in a section of its own
# (".velkar_version"), so that it is found through the section table at once.
function(velkar_embed_version target)
  set(block "VELKAR-VERSION-BLOCK")
  set(bytes "")
  string(LENGTH "${block}" len)
  math(EXPR last "${len} - 1")
  foreach(i RANGE ${last})
    string(SUBSTRING "${block}" ${i} 1 ch)
    string(HEX "${ch}" hex)
    string(APPEND bytes "0x${hex},")
  endforeach()
  string(APPEND bytes "0x00,0xBD,0x04,0xEF,0xFE,")
  foreach(pair "${PROJECT_VERSION_MINOR};${PROJECT_VERSION_MAJOR}" "${VELKAR_BUILD_NUMBER};${PROJECT_VERSION_PATCH}")
    list(GET pair 0 low)
    list(GET pair 1 high)
    math(EXPR b0 "${low} & 255" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR b1 "(${low} >> 8) & 255" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR b2 "${high} & 255" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR b3 "(${high} >> 8) & 255" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND bytes "${b0},${b1},${b2},${b3},")
  endforeach()
  set(out ${PROJECT_BINARY_DIR}/generated/${target}_version_block.cpp)
  file(WRITE ${out}.in "// Generated: the version block of the executable.\n"
    "extern \"C\" __attribute__((used, section(\".velkar_version\"))) const unsigned char velkar_version_block[] = {${bytes}};\n")
  configure_file(${out}.in ${out} COPYONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()

# velkar_embed_resources(TARGET FILE...): compiles files into the target as named
# resources (the file's base name), found at run time by FindResource().
function(velkar_embed_resources target)
  set(entries "")
  set(arrays "")
  set(index 0)
  foreach(file ${ARGN})
    get_filename_component(name ${file} NAME_WE)
    file(READ ${file} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "static const unsigned char kData${index}[] = {${bytes}};\n")
    string(APPEND entries "  {\"${name}\", kData${index}, sizeof kData${index}},\n")
    math(EXPR index "${index} + 1")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  endforeach()
  set(out ${PROJECT_BINARY_DIR}/generated/${target}_resources.cpp)
  file(WRITE ${out}.in "// Generated: resources compiled into the program.\n#include \"app/Resources.h\"\n\n"
    "namespace velkar {\nnamespace {\n${arrays}const EmbeddedResource kResources[] = {\n${entries}};\n}  // namespace\n\n"
    "std::span<const EmbeddedResource> EmbeddedResources() { return kResources; }\n}  // namespace velkar\n")
  configure_file(${out}.in ${out} COPYONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()
