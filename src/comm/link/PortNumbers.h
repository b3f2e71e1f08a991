#pragma once
// The station's port numbers: 1 to 256 are COM ports, 247 to 256 replay
// recorded data while the demonstration switch is on, 257 to 512 are
// wireless manikins, -1 means no port.

inline constexpr int COM_PORTS = 512;
inline constexpr int NO_PORT = -1;
inline constexpr int LAST_COM_PORT = 256;
inline constexpr int FIRST_RECORDED_DATA_PORT = 247;
inline constexpr int LAST_RECORDED_DATA_PORT = 256;
inline constexpr int FIRST_WIRELESS_PORT = 257;

inline constexpr bool isWirelessPortNumber(int port)
{
    return port >= FIRST_WIRELESS_PORT && port <= COM_PORTS;
}
