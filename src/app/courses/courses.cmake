# Courses: running a planned course, its rows beside the sessions started
# from them (core); the run-course window with its template and the course
# planner behind the New-session window's button (windowed).
target_sources(app_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CourseRun.cpp)
if(TARGET app_gui)
  target_sources(app_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/RunCourseDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CoursePlannerWindow.cpp)
endif()
