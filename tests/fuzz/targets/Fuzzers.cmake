# libFuzzer targets for the book readers, the MOBI decoders, opening a PDF with the MuPDF base and
# reading and laying out a page in the PDF-to-Word engine, built with clang and
# AddressSanitizer/UndefinedBehaviorSanitizer. A project of its own, whose CMakeLists.txt the main
# build writes around this file (tests/fuzz/CMakeLists.txt) and configures with clang; it builds
# the readers and the PDF code once more from their folders, so that everything of ours the
# fuzzers reach is instrumented (MuPDF itself is Debian's static library, uninstrumented).

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_AUTOMOC ON)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

find_package(Qt5 5.15 REQUIRED COMPONENTS Core Gui Xml)
find_package(QuaZip-Qt5 REQUIRED)
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)

set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-g -O1 -fsanitize=fuzzer-no-link ${sanitizers})
add_link_options(${sanitizers})
# Includes by path from the repository root, generated headers from this build folder.
include_directories(${QP_SOURCE_DIR} ${CMAKE_BINARY_DIR})

# The readers and what they stand on, from the project's own folders.
foreach(dir platform/mupdf platform/registry shared/records app/core quillbook/reader quillbook/epub quillbook/fb2 quillbook/mobi)
  add_subdirectory(${QP_SOURCE_DIR}/${dir} ${dir})
endforeach()

set(here ${CMAKE_CURRENT_LIST_DIR})
add_library(fuzzsupport STATIC ${here}/ReaderFuzzing.h ${here}/ReaderFuzzing.cpp)
target_link_libraries(fuzzsupport PUBLIC quillbookreader Qt5::Gui)

# One reader target per format: name, library, header, class.
set(readers
  "epub|quillbookepub|quillbook/epub/EpubDocument.h|epub::EpubDocument"
  "fb2|quillbookfb2|quillbook/fb2/FbDocument.h|fb2::FbDocument"
  "mobi|quillbookmobi|quillbook/mobi/MobiDocument.h|mobi::MobiDocument")
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

# The PDF-to-Word engine's stages, from its folder with whatever it links (nothing of it is built
# but what the fuzzer links). When the folder makes no static library of its stages, only the
# shared library that hides them, the stages are compiled here from its sources.
set(engine ${QP_SOURCE_DIR}/platform/pdf2word/engine)
add_subdirectory(${engine} platform/pdf2word/engine EXCLUDE_FROM_ALL)
if(TARGET quillpdf2wordcore)
  set(engineStages quillpdf2wordcore)
else()
  pkg_check_modules(QP_FREETYPE REQUIRED freetype2)
  pkg_check_modules(QP_FRIBIDI REQUIRED fribidi)
  file(GLOB_RECURSE engineSources CONFIGURE_DEPENDS ${engine}/*.cpp)
  add_library(fuzzpdf2wordstages STATIC ${engineSources})
  set_target_properties(fuzzpdf2wordstages PROPERTIES AUTOMOC OFF)
  target_include_directories(fuzzpdf2wordstages PRIVATE ${QP_FREETYPE_INCLUDE_DIRS} ${QP_FRIBIDI_INCLUDE_DIRS})
  target_link_libraries(fuzzpdf2wordstages PUBLIC quillmupdf Qt5::Core ${QP_FRIBIDI_LIBRARIES})
  set(engineStages fuzzpdf2wordstages)
endif()

add_library(pdffuzzsupport STATIC ${here}/PdfFuzzing.h ${here}/PdfFuzzing.cpp)
target_link_libraries(pdffuzzsupport PUBLIC quillmupdf)

# Target name and what it links beyond the support.
set(pdfTargets "pdfopen|" "pdfpage|${engineStages}")
foreach(pdfTarget IN LISTS pdfTargets)
  string(REPLACE "|" ";" fields "${pdfTarget}")
  list(GET fields 0 name)
  list(GET fields 1 library)
  add_executable(fuzz_${name} ${here}/fuzz_${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE pdffuzzsupport ${library})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  # PDF's keywords and names, for the fuzzer to splice in (run-fuzzer.sh passes it on).
  configure_file(${here}/pdf.dict ${CMAKE_BINARY_DIR}/bin/fuzz_${name}.dict COPYONLY)
endforeach()
