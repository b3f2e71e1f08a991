# The measurement store: filters, compression and ventilation analysis, the
# measurement text and the session evaluation.
target_sources(comm PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CommSession.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompressionAnalyser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompressionSeries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigurationAnalysisSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MeasurementText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReaderSampleSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionStatistics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VentilationAnalyser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VentilationGroup.cpp)
target_link_libraries(comm PUBLIC Filters config)
