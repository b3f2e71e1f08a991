# The course planner: the rules of a course's schedule and the measures of
# its printed page (core); the planner's window with its template and the
# printed schedule (windowed).
target_sources(Database PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CourseSchedule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FinishedSessionQuestion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SchedulePage.cpp)
if(TARGET Database_gui)
  target_sources(Database_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SchedulePrinter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CourseScheduleSources.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CoursePlannerTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScheduleControls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CoursePlannerDialog.cpp)
  target_link_libraries(Database_gui PUBLIC comm_gui platform_gui Qt6::PrintSupport)
endif()
