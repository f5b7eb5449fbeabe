# The PDF library's exports are generated from pdflib/binding/catalogue.txt (by the target
# quilldplgenerated in pdflib/binding). Their prototypes come through the INTERFACE target
# quilldplexports (include "pdflib/binding/generated/DPLExports.h"); this file lets any folder, whatever its place in
# the build order, use them.

set(QP_DPL_GENERATED_DIR ${CMAKE_BINARY_DIR}/pdflib/binding/generated)

# qp_add_dpl_stubs(<target>)
# Adds the generated weak stub of every export to <target>: a library that defines only some
# exports still exports all of them, each stub reporting through dplStubCalled().
function(qp_add_dpl_stubs target)
  set(stubs ${QP_DPL_GENERATED_DIR}/DPLStubs.cpp)
  set_source_files_properties(${stubs} PROPERTIES GENERATED TRUE)
  target_sources(${target} PRIVATE ${stubs})
  target_link_libraries(${target} PRIVATE quilldplexports)
  add_dependencies(${target} quilldplgenerated)
endfunction()
