# In a cross build the code generators must still run on the build machine: build
# tools/ with the build machine's compiler as a project of its own, and let the name
# `embed_binary` stand for that program.

include (ExternalProject)

set (_hostTools "${CMAKE_BINARY_DIR}/host-tools")

ExternalProject_Add (firmhold_host_tools
    SOURCE_DIR "${PROJECT_SOURCE_DIR}/cmake/host-tools"
    BINARY_DIR "${_hostTools}"
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
               -DFIRMHOLD_SOURCE_DIR=${PROJECT_SOURCE_DIR}
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE_PROGRAM}
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS "${_hostTools}/tools/embed_binary")

add_executable (embed_binary IMPORTED GLOBAL)
set_target_properties (embed_binary PROPERTIES IMPORTED_LOCATION "${_hostTools}/tools/embed_binary")
