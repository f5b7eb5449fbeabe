# Helpers shared by every folder of the project.

# Adds every direct sub-folder of the current source folder that has a CMakeLists.txt,
# in name order, so a new library folder needs no edit of its parent.
function(qp_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# qp_add_layers(<"name: folder folder..."> ...)
# Adds the folders of each layer row of QP_LAYERS in the order given; missing folders are skipped.
function(qp_add_layers)
  foreach(row ${ARGN})
    string(REGEX REPLACE "^[a-z]+:" "" folders "${row}")
    string(REGEX REPLACE "[ \t\r\n]+" ";" folders "${folders}")
    foreach(folder ${folders})
      if(EXISTS ${CMAKE_SOURCE_DIR}/${folder}/CMakeLists.txt)
        add_subdirectory(${folder})
      endif()
    endforeach()
  endforeach()
endfunction()

# Whether the folder (relative to the source folder) lies in a build folder inside the tree: the
# one in use, or another one that CMake configured (it holds a CMakeCache.txt). Build folders hold
# CMakeLists.txt files of their own (the fuzz project's), whatever they are named.
function(qp_in_build_folder folder result)
  file(RELATIVE_PATH binary ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set(inside FALSE)
  set(prefix "")
  string(REPLACE "/" ";" parts "${folder}")
  foreach(part ${parts})
    string(APPEND prefix "${part}")
    if(prefix STREQUAL binary OR EXISTS ${CMAKE_SOURCE_DIR}/${prefix}/CMakeCache.txt)
      set(inside TRUE)
      break()
    endif()
    string(APPEND prefix "/")
  endforeach()
  set(${result} ${inside} PARENT_SCOPE)
endfunction()

# The source folder and every folder an add_subdirectory reached from it, as full paths.
function(qp_added_folders result)
  set(added ${CMAKE_SOURCE_DIR})
  set(queue ${CMAKE_SOURCE_DIR})
  while(queue)
    list(POP_FRONT queue dir)
    get_property(children DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND added ${children})
    list(APPEND queue ${children})
  endwhile()
  set(${result} ${added} PARENT_SCOPE)
endfunction()

# Fails the configuration when a folder has a CMakeLists.txt that no add_subdirectory reached,
# so that a new library folder cannot silently drop out of the build (give it its line in
# QP_LAYERS, or let its parent folder add it). Hidden folders and build folders are left out.
function(qp_check_every_folder_built)
  qp_added_folders(added)
  file(GLOB lists RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/*/CMakeLists.txt ${CMAKE_SOURCE_DIR}/*/*/CMakeLists.txt
       ${CMAKE_SOURCE_DIR}/*/*/*/CMakeLists.txt ${CMAKE_SOURCE_DIR}/*/*/*/*/CMakeLists.txt)
  foreach(list ${lists})
    get_filename_component(folder ${list} DIRECTORY)
    if(folder MATCHES "^\\." OR ${CMAKE_SOURCE_DIR}/${folder} IN_LIST added)
      continue()
    endif()
    qp_in_build_folder(${folder} inBuild)
    if(inBuild)
      continue()
    endif()
    message(FATAL_ERROR "${folder}/CMakeLists.txt is not built: list ${folder} in QP_LAYERS of the top-level CMakeLists.txt")
  endforeach()
endfunction()

# qp_add_test(<name> SOURCES <files...> LIBS <targets...> [XVFB] [TIMEOUT <seconds>] [LABELS <labels...>])
# Builds a QtTest executable into the program folder and registers it with CTest.
# Every test runs through tests/isolate.sh: a fresh HOME, XDG folders and TMPDIR, and
# the offscreen Qt platform (XVFB runs it inside a virtual X server instead).
function(qp_add_test name)
  cmake_parse_arguments(T "XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test quilltestsupport ${T_LIBS})
  set(runner ${CMAKE_SOURCE_DIR}/tests/isolate.sh)
  if(T_XVFB)
    add_test(NAME ${name} COMMAND ${runner} --xvfb $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${runner} $<TARGET_FILE:${name}>)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
include(${CMAKE_CURRENT_LIST_DIR}/PdfLibraryExports.cmake)

# Links the library into every executable of the build, in whatever folder it was added.
function(qp_link_into_every_program library)
  qp_added_folders(folders)
  foreach(dir ${folders})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        target_link_libraries(${target} PRIVATE ${library})
      endif()
    endforeach()
  endforeach()
endfunction()
