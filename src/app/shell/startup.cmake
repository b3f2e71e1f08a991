# The application's start-up state: command line, demonstration switch,
# communication delay and the recorded demonstration data sets.
target_sources(app_core PRIVATE CprTrainingAppState.cpp)
target_link_libraries(app_core PUBLIC comm)
