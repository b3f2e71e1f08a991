# The course planner behind the New-session window's seam, on a temporary
# SQLite data source.
kova_test(CoursePlannerWindowTests GUI
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CoursePlannerWindowTest.cpp
  LIBS app_gui Qt6::Test)
if(TARGET CoursePlannerWindowTests)
  target_include_directories(CoursePlannerWindowTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/Database)
endif()
