# The course planner: the schedule's rules and the printed page's measures
# without windows; the planner's window and the printed schedule on the
# SQLite data source, printed to PDF files that poppler-utils read back.
kova_test(CourseScheduleTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CourseScheduleTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SchedulePageTest.cpp
  LIBS Database)
kova_test(SchedulePrinterTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SchedulePrinterTest.cpp
  LIBS Database_gui)
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(CoursePlannerTests GUI
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordsFixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CoursePlannerDialogTest.cpp
  LIBS Database_gui Qt6::Test)
