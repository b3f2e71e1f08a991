# The device layer under the manikin link: termios serial devices, the COM
# port map and TCP client connections.
target_sources(platform PRIVATE SerialDevice.cpp PortMap.cpp TcpClient.cpp)
