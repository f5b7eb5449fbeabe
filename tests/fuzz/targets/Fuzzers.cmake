# libFuzzer targets for the book readers and the MOBI decoders, built with clang and
# AddressSanitizer/UndefinedBehaviorSanitizer. A project of its own, whose CMakeLists.txt the main
# build writes around this file (tests/fuzz/CMakeLists.txt) and configures with clang; it builds
# the readers once more from their folders, so that everything the fuzzers reach is instrumented.

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_AUTOMOC ON)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

find_package(Qt5 5.15 REQUIRED COMPONENTS Core Gui Xml)
find_package(QuaZip-Qt5 REQUIRED)

set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-g -O1 -fsanitize=fuzzer-no-link ${sanitizers})
add_link_options(${sanitizers})

# The readers and what they stand on, from the project's own folders.
foreach(dir platform/registry topdf/records app/core quillbook/reader quillbook/epub quillbook/fb2 quillbook/mobi)
  add_subdirectory(${QP_SOURCE_DIR}/${dir} ${dir})
endforeach()

set(here ${CMAKE_CURRENT_LIST_DIR})
add_library(fuzzsupport STATIC ${here}/ReaderFuzzing.h ${here}/ReaderFuzzing.cpp)
target_include_directories(fuzzsupport PUBLIC ${here})
target_link_libraries(fuzzsupport PUBLIC quillbookreader Qt5::Gui)

# One reader target per format: name, library, header, class.
set(readers
  "epub|quillbookepub|EpubDocument.h|epub::EpubDocument"
  "fb2|quillbookfb2|FbDocument.h|fb2::FbDocument"
  "mobi|quillbookmobi|MobiDocument.h|mobi::MobiDocument")
foreach(reader IN LISTS readers)
  string(REPLACE "|" ";" fields "${reader}")
  list(GET fields 0 name)
  list(GET fields 1 library)
  list(GET fields 2 header)
  list(GET fields 3 class)
  add_executable(fuzz_${name} ${here}/fuzz_reader.cpp)
  target_compile_definitions(fuzz_${name} PRIVATE QP_FUZZ_HEADER="${header}" QP_FUZZ_READER=${class} QP_FUZZ_SUFFIX="${name}")
  target_link_libraries(fuzz_${name} PRIVATE fuzzsupport ${library})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endforeach()

foreach(decoder palmdoc huffcdic)
  add_executable(fuzz_${decoder} ${here}/fuzz_${decoder}.cpp)
  target_link_libraries(fuzz_${decoder} PRIVATE quillbookmobi)
  target_link_options(fuzz_${decoder} PRIVATE -fsanitize=fuzzer)
endforeach()
