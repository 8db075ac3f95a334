# The views' sources (every source file of this folder): read by this folder's CMakeLists.txt and by the web build (web/CMakeLists.txt),
# which compiles the colouring part (the HTML renderer). A new source file goes in one of these lists.
file(GLOB tessalune_views_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
set(tessalune_views_colouring_sources ${CMAKE_CURRENT_LIST_DIR}/html_render.cpp)
