# The manikin link and the recorded demonstration data it replays.
target_sources(comm PRIVATE
  CommUtil.cpp LinkEnvironment.cpp CollectedData.cpp CollectedDataSet.cpp SerialPort.cpp)
