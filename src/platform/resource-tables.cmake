# Menus, accelerator tables and string tables as data, found by numeric id.
target_sources(platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ResourceTables.cpp)
