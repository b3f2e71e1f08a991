# Menus, accelerator tables and string tables by id.
kova_test(ResourceTablesTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ResourceTablesTest.cpp
  LIBS platform)
