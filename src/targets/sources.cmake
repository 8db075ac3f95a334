# The writers' sources (every source file of this folder): read by this folder's CMakeLists.txt and by the web
# build (web/CMakeLists.txt), which compiles them all. A new source file is found here by itself.
file(GLOB tessalune_targets_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
