# Printing a session's results: the page plan and the printed texts (core);
# the printing on the application's printer (windowed).
target_sources(app_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PrintPlan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrintedTexts.cpp)

if(TARGET app_gui)
  target_sources(app_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Print.cpp)
  target_link_libraries(app_gui PUBLIC platform_gui Qt6::PrintSupport)
endif()
