# The course planner behind the New-session window's button.
if(TARGET app_gui)
  target_sources(app_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CoursePlannerWindow.cpp)
endif()
