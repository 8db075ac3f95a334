# The views' sources (every source file of this folder): read by this folder's CMakeLists.txt.
file(GLOB tessalune_views_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
