# Courses: running a planned course and the planner behind the New-session
# window's button.
#
# The Run-course window in the station's frame on a temporary SQLite data
# source, with the demonstration's recorded-data manikins and a simulated
# manikin on a pseudo-terminal; it saves <build>/run-course.png for a person
# to look at.
if(TARGET manikinsim)
  kova_test(RunCourseWindowTests GUI
    SOURCES
      ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/RunCourseDialogTest.cpp
    LIBS app_gui manikinsim Qt6::Test
    LABELS device)
  if(TARGET RunCourseWindowTests)
    target_include_directories(RunCourseWindowTests PRIVATE
      ${PROJECT_SOURCE_DIR}/tests/comm ${PROJECT_SOURCE_DIR}/tests/Database)
    add_dependencies(RunCourseWindowTests recorded-data)
  endif()
endif()

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
