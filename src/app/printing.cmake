# Printing a session's results: the page plan (core).
target_sources(app_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PrintPlan.cpp)
